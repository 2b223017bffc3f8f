// The table of kinds: extensions compared exactly, and where each kind's adapter starts a
// settings table (a header row in workbooks only).
#include "builder/table_kind.h"

#include <gtest/gtest.h>


namespace {

TEST(TableKind, ExtensionsAreMatchedExactly) {
  const struct {
    const char* extension;
    bool known;
    TableFamily family;
    int32_t first_settings_row;
  } cases[] = {
      {"xls", true, TableFamily::Workbook, 1}, {"csv", true, TableFamily::Text, 0},
      {"txt", true, TableFamily::Text, 0},     {"tsv", true, TableFamily::Text, 0},
      {"TSV", false, {}, 0},                   {"XLS", false, {}, 0},
      {"xlsx", true, TableFamily::Workbook, 1}, {"xlsm", true, TableFamily::Workbook, 1},
      {"ods", true, TableFamily::Workbook, 1},  {"XLSX", false, {}, 0},
      {"Xlsm", false, {}, 0},                   {"ODS", false, {}, 0},
      {"xlsx ", false, {}, 0},                  {"xlsb", false, {}, 0},
      {"Csv", false, {}, 0},                   {"xls ", false, {}, 0},
      {"", false, {}, 0},                      {"json", false, {}, 0},
  };
  for (const auto& c : cases) {
    const TableKind* kind = FindTableKind(c.extension);
    ASSERT_EQ(kind != nullptr, c.known) << c.extension;
    if (!kind) continue;
    EXPECT_EQ(kind->family, c.family) << c.extension;
    EXPECT_EQ(kind->Make()->FirstSettingsRow(), c.first_settings_row) << c.extension;
  }
}

}  // namespace
