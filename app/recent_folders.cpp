#include "app/recent_folders.h"

#include <QFileInfo>
#include <QSettings>

namespace {

QString KeyOf(FileRole role) {
  return role == FileRole::Setlist ? QStringLiteral("folders/setlist") : QStringLiteral("folders/settings");
}

// Named explicitly rather than after the running program, so every start finds the same file.
// Made anew for each use: each write is on disk when the call returns.
QSettings Store() {
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tallyform"),
                   QStringLiteral("Tallyform"));
}

}  // namespace

QString RecentFolder(FileRole role) {
  const QString folder = Store().value(KeyOf(role)).toString();
  return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void RememberFolderOf(FileRole role, const QString& file_path) {
  Store().setValue(KeyOf(role), QFileInfo(file_path).absolutePath());
}
