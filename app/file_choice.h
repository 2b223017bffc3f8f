// Which of the two tables a file chosen without the dialog becomes: one dropped on the window,
// or one named on the command line (tallyform SETLIST [SETTINGS]). Display-free, so the rules
// are tested without a window; the window then treats the file as chosen in that dialog.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class QMimeData;

enum class FileRole { Setlist, Settings };

// Where on the window a file was dropped.
enum class DropPlace { SetlistBox, SettingsBox, Elsewhere };

// The one local file a drag carries; nothing for several, for a folder or for anything else.
std::optional<QString> DraggedFile(const QMimeData& mime);

// The role a dropped file takes; nothing when the drop is refused. A path box takes any file,
// as its dialog's "All Files" does; elsewhere only a kind the dispatch knows is taken, as the
// setlist while none is chosen, else as the settings.
std::optional<FileRole> RoleForDrop(DropPlace place, const QString& path, bool setlist_chosen);

// The files named on the command line, made absolute: the setlist first, then the settings.
struct NamedFile {
  FileRole role;
  QString path;
  bool usable;  // an existing file, as the dialog would insist on
};
std::vector<NamedFile> FilesFromArguments(const QStringList& arguments);

// True for a path the open-file dialog could return: an existing file, not a folder.
bool IsChoosableFile(const QString& path);
