// Real .xlsx files from independent projects (../shared/corpus/xlsx-public): every one loads
// or fails cleanly, and a sheet's visit and lookup agree (differential_test.cpp compares them
// with openpyxl).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "grid/grid_sheet.h"
#include "xlsx/xlsx_book.h"

namespace {

const std::string kCorpus = std::string(TALLYFORM_SOURCE_DIR) + "/../shared/corpus/xlsx-public";

std::vector<std::string> CorpusFiles() {
  std::vector<std::string> files;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(kCorpus, ec)) {
    const auto ext = e.path().extension();
    if (ext == ".xlsx" || ext == ".xlsm") files.push_back(e.path().string());
  }
  return files;
}

TEST(XlsxCorpus, EveryFileLoadsOrFailsCleanly) {
  const auto files = CorpusFiles();
  if (files.empty()) GTEST_SKIP() << "no corpus at " << kCorpus;
  int loaded = 0;
  for (const auto& file : files) {
    SCOPED_TRACE(file);
    Xlsx::XlsxBook book;
    if (!book.Load(file)) continue;
    ++loaded;
    for (int32_t s = 0; s < book.GetTotalWorkSheets(); ++s) {
      const Grid::GridSheet* sheet = book.GetWorksheet(s);
      ASSERT_NE(sheet, nullptr);
      sheet->ForEachStoredCell([&](int32_t r, int32_t c, const Grid::GridCell& cell) {
        ASSERT_EQ(sheet->Cell(r, c), &cell);
        ASSERT_LT(r, sheet->GetTotalRows());
        ASSERT_LT(c, sheet->GetTotalCols());
      });
    }
  }
  std::printf("xlsx corpus: %d of %zu files load\n", loaded, files.size());
  EXPECT_GT(loaded, static_cast<int>(files.size()) * 8 / 10);
}

}  // namespace
