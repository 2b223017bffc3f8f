// The folder of the last setlist and of the last settings file chosen, so each dialog opens
// where its file was found last, also after a restart. Kept with QSettings in the desktop's
// usual place for the user; it is all the window stores.
#pragma once

#include <QString>

#include "app/file_choice.h"

// The folder to open the dialog of `role` in; empty when none is known or it is gone.
QString RecentFolder(FileRole role);

// Remembers the folder that holds `file_path` for the dialog of `role`.
void RememberFolderOf(FileRole role, const QString& file_path);
