#include "app/file_choice.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include "app/text_codec.h"
#include "builder/dispatch.h"

std::optional<QString> DraggedFile(const QMimeData& mime) {
  if (!mime.hasUrls()) return std::nullopt;
  const QList<QUrl> urls = mime.urls();
  if (urls.size() != 1 || !urls.first().isLocalFile()) return std::nullopt;
  const QString path = urls.first().toLocalFile();
  if (!IsChoosableFile(path)) return std::nullopt;
  return path;
}

std::optional<FileRole> RoleForDrop(DropPlace place, const QString& path, bool setlist_chosen) {
  switch (place) {
    case DropPlace::SetlistBox: return FileRole::Setlist;
    case DropPlace::SettingsBox: return FileRole::Settings;
    case DropPlace::Elsewhere: break;
  }
  if (!FindTableKind(FileExtension(str16_to_str8(path)))) return std::nullopt;
  return setlist_chosen ? FileRole::Settings : FileRole::Setlist;
}

std::vector<NamedFile> FilesFromArguments(const QStringList& arguments) {
  std::vector<NamedFile> files;
  for (qsizetype i = 0; i < arguments.size() && i < 2; ++i) {
    const QString path = QDir::cleanPath(QFileInfo(arguments[i]).absoluteFilePath());
    files.push_back({i == 0 ? FileRole::Setlist : FileRole::Settings, path, IsChoosableFile(path)});
  }
  return files;
}

bool IsChoosableFile(const QString& path) {
  const QFileInfo info(path);
  return info.exists() && info.isFile();
}
