// The table of kinds: extensions compared exactly, and where each kind's adapter starts a
// settings table (a header row in workbooks only).
#include "builder/table_kind.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "builder/dispatch.h"

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

// A build reads every name through the column walk: it must give what IsEmpty and TextInto give
// row by row, for each kind's adapter, every column (one past the last too) and either start.
TEST(TableKind, ColumnWalkMatchesTheCellsRowByRow) {
  std::vector<std::string> files;
  for (const char* folder : {"/tests/fixtures/workbooks", "/tests/builder/data", "/examples"})
    for (const auto& entry : std::filesystem::directory_iterator(std::string(TALLYFORM_SOURCE_DIR) + folder))
      if (FindTableKind(FileExtension(entry.path().string()))) files.push_back(entry.path().string());
  ASSERT_GT(files.size(), 20u);
  // A table holds its file for exclusive use: the two readings take turns.
  using Cells = std::vector<std::pair<uint32_t, std::string>>;
  const auto read = [](const std::string& file, bool walk, std::vector<Cells>& out) {
    auto table = FindTableKind(FileExtension(file))->Make();
    if (!table->Load(file)) return false;
    for (int32_t s = 0; s < table->SheetCount(); ++s) {
      TableSheet* sheet = table->Sheet(s);
      for (uint32_t col = 0; col < 8; ++col)
        for (int32_t first : {0, 1}) {
          Cells& cells = out.emplace_back();
          if (!sheet) continue;
          if (walk) {
            sheet->ForEachText(col, first, [&](uint32_t row, std::string& text) { cells.emplace_back(row, text); });
            continue;
          }
          std::string text;
          for (int32_t r = first; r < sheet->RowCount(); ++r) {
            if (sheet->IsEmpty(static_cast<uint32_t>(r), col)) continue;
            sheet->TextInto(static_cast<uint32_t>(r), col, text);
            cells.emplace_back(static_cast<uint32_t>(r), text);
          }
        }
    }
    return true;
  };
  size_t read_files = 0;
  for (const std::string& file : files) {
    std::vector<Cells> walked, asked;
    if (!read(file, true, walked)) continue;
    ASSERT_TRUE(read(file, false, asked)) << file;
    EXPECT_EQ(walked, asked) << file;
    ++read_files;
  }
  EXPECT_GT(read_files, 20u);
}

}  // namespace
