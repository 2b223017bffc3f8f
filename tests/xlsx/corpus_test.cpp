// Real .xlsx files from independent projects (../shared/corpus/xlsx-public): every one loads
// or fails cleanly, and what loads agrees with openpyxl apart from the intended differences
// (tests/xlsx/compare_with_openpyxl.py prints them and the agreement).
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

TEST(XlsxCorpus, AgreesWithOpenpyxl) {
  const auto files = CorpusFiles();
  if (files.empty()) GTEST_SKIP() << "no corpus at " << kCorpus;
  if (std::system("/usr/bin/python3 -c 'import openpyxl' 2>/dev/null") != 0) GTEST_SKIP() << "no openpyxl";
  const std::string out = std::string(TALLYFORM_BINARY_DIR) + "/xlsx-openpyxl-differences.txt";
  const std::string cmd = "/usr/bin/python3 " TALLYFORM_SOURCE_DIR "/tests/xlsx/compare_with_openpyxl.py " TALLYFORM_BINARY_DIR
                          "/tests/workbook_dump " + kCorpus + "/*.xls[xm] > " + out + " 2>&1";
  const int status = std::system(cmd.c_str());
  std::string last, line;
  if (FILE* f = std::fopen(out.c_str(), "r")) {
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, f)) {
      line = buffer;
      if (line.rfind("agreement:", 0) == 0) last = line;
    }
    std::fclose(f);
  }
  std::printf("openpyxl %s(details in %s)\n", last.c_str(), out.c_str());
  EXPECT_EQ(status, 0) << "a file crashed or hung: see " << out;
  unsigned long agree = 0, compared = 0;
  ASSERT_EQ(std::sscanf(last.c_str(), "agreement: %lu / %lu", &agree, &compared), 2);
  EXPECT_GE(agree * 1000, compared * 999) << "see " << out;
}

}  // namespace
