// The open-file dialog's filter lists: which files "Select Setlist" and "Select Settings"
// offer, by the state of "Use .csv files", made from the table kinds (builder/table_kind.h).
// Owned here; the dialogs only read them.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

struct FileFilter {
  QString description;  // shown to the user, e.g. "Excel Files"
  QString pattern;      // wildcard, e.g. "*.xls"
};
using FilterList = std::vector<FileFilter>;

const FilterList& SpreadsheetFilters();  // both buttons while "Use .csv files" is clear
const FilterList& TextFilters();         // "Select Setlist" while it is ticked
const FilterList& MixedFilters();        // "Select Settings" while it is ticked

// Qt's name-filter strings, e.g. "Excel Files (*.xls)". "*.*" means every file, as it does
// on Windows; Qt would read it as "names with a dot", so it becomes "*".
QStringList ToQtNameFilters(const FilterList& filters);
