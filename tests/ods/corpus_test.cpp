// Real .ods files from independent projects (../shared/corpus/ods-public): every one loads
// or fails cleanly, and a sheet's visit and lookup agree.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "grid/grid_sheet.h"
#include "ods/ods_book.h"

namespace {

TEST(OdsCorpus, EveryFileLoadsOrFailsCleanly) {
  const std::string corpus = std::string(TALLYFORM_SOURCE_DIR) + "/../shared/corpus/ods-public";
  std::error_code ec;
  int files = 0, loaded = 0;
  for (const auto& e : std::filesystem::directory_iterator(corpus, ec)) {
    if (e.path().extension() != ".ods") continue;
    ++files;
    SCOPED_TRACE(e.path().string());
    Ods::OdsBook book;
    if (!book.Load(e.path().string())) continue;
    ++loaded;
    for (int32_t s = 0; s < book.GetTotalWorkSheets(); ++s) {
      const Grid::GridSheet* sheet = book.GetWorksheet(s);
      sheet->ForEachStoredCell([&](int32_t r, int32_t c, const Grid::GridCell& cell) {
        ASSERT_EQ(sheet->Cell(r, c), &cell);
        ASSERT_LT(r, sheet->GetTotalRows());
      });
    }
  }
  if (files == 0) GTEST_SKIP() << "no corpus at " << corpus;
  std::printf("ods corpus: %d of %d files load\n", loaded, files);
  EXPECT_GT(loaded, files / 2);
}

}  // namespace
