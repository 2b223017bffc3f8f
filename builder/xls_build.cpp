// create_index_file (.xls setlist) and create_hybrid_file (text setlist), both with an .xls
// settings table whose row 0 holds the column headings. Each workbook holds its file for
// exclusive use until the build returns, so one file chosen for both tables stops the build.
#include "builder/build.h"
#include "builder/generic_build.h"
#include "builder/text_cell_adapter.h"
#include "builder/xls_cell_adapter.h"
#include "textbook/text_book.h"
#include "xls/xls_book.h"

namespace {
constexpr int32_t kFirstXlsSettingsRow = 1;
}  // namespace

bool create_index_file(const BuildPaths& paths, Console& console) {
  return BuildSetlist<Xls::XlsBook, Xls::XlsBook>(paths, console, kFirstXlsSettingsRow);
}

bool create_hybrid_file(const BuildPaths& paths, Console& console) {
  return BuildSetlist<TextBook, Xls::XlsBook>(paths, console, kFirstXlsSettingsRow);
}
