// The one table of table kinds: for each file extension (compared exactly, case-sensitive),
// its family, the file-dialog group it shows in, the reader that reads it and the factory of
// its build adapter; and which pairs of families build. A new kind is one row here.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "builder/table.h"

// Workbooks have worksheets and a header row in a settings table; text tables have neither.
enum class TableFamily { Text, Workbook };

// The reader library behind a kind, for callers that show a reader's own cells (inspect).
enum class TableReader { Text, Xls, Xlsx, Ods };

struct TableKind {
  const char* extension;     // without the dot
  TableFamily family;
  const char* group;         // the file dialog's description, e.g. "Excel Files"
  TableReader reader;
  char delimiter;            // a text kind's forced delimiter ('\t' for .tsv); 0: found from the file
  std::unique_ptr<Table> (*make)(char delimiter);

  // An empty table of this kind, for the build to load.
  std::unique_ptr<Table> Make() const { return make(delimiter); }
};

// The row of `extension`, or null for a kind no reader knows.
const TableKind* FindTableKind(std::string_view extension);

// Which build two families select: a workbook settings table builds with a setlist of either
// family (Index: workbook setlist, Hybrid: text setlist); two text tables build FromText.
enum class BuildKind { Index, Hybrid, FromText, Invalid };
BuildKind BuildKindOf(TableFamily setlist, TableFamily settings);

// A file-dialog group: its description and its patterns ("*.xls", or several joined by
// blanks when more kinds share the description), in the order of the table.
struct FileGroup {
  std::string description;
  std::string pattern;
};
std::vector<FileGroup> FileGroups(TableFamily family);
