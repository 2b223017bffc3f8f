// create_index_file (workbook setlist) and create_hybrid_file (text setlist), both with a
// workbook settings table whose row 0 holds the column headings. Each workbook is read by the
// reader its extension names (.xls, .xlsx, .xlsm, .ods); any other extension by the .xls reader,
// as these builds have always read their workbooks.
#include "builder/build.h"
#include "builder/dispatch.h"
#include "builder/generic_build.h"
#include "builder/table_kind.h"
#include "builder/text_table.h"
#include "builder/xls_table.h"

namespace {

std::unique_ptr<Table> WorkbookTableFor(const std::string& path) {
  const TableKind* kind = FindTableKind(FileExtension(path));
  return kind && kind->family == TableFamily::Workbook ? kind->Make() : MakeXlsTable(0);
}

}  // namespace

bool create_index_file(const BuildPaths& paths, Console& console) {
  const std::unique_ptr<Table> settings = WorkbookTableFor(paths.settings_file);
  const std::unique_ptr<Table> setlist = WorkbookTableFor(paths.setlist_file);
  return BuildSetlist(paths, console, *setlist, *settings);
}

bool create_hybrid_file(const BuildPaths& paths, Console& console) {
  const std::unique_ptr<Table> settings = WorkbookTableFor(paths.settings_file);
  const std::unique_ptr<Table> setlist = MakeTextTableFor(paths.setlist_file);
  return BuildSetlist(paths, console, *setlist, *settings);
}
