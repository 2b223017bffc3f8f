// create_index_file (.xls setlist) and create_hybrid_file (text setlist), both with an .xls
// settings table whose row 0 holds the column headings.
#include "builder/build.h"
#include "builder/generic_build.h"
#include "builder/text_table.h"
#include "builder/xls_table.h"

bool create_index_file(const BuildPaths& paths, Console& console) {
  const std::unique_ptr<Table> settings = MakeXlsTable(0);
  const std::unique_ptr<Table> setlist = MakeXlsTable(0);
  return BuildSetlist(paths, console, *setlist, *settings);
}

bool create_hybrid_file(const BuildPaths& paths, Console& console) {
  const std::unique_ptr<Table> settings = MakeXlsTable(0);
  const std::unique_ptr<Table> setlist = MakeTextTableFor(paths.setlist_file);
  return BuildSetlist(paths, console, *setlist, *settings);
}
