// Replays every input a fuzz target once failed on (tests/hostile/regressions/<target>/)
// through the same entry point as that target, so a fixed fault stays fixed.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/xls_visit.h"
#include "tests/support/files.h"
#include "textbook/text_book.h"
#include "cfb/compound_file.h"
#include "xls/xls_book.h"

namespace {

std::vector<std::filesystem::path> Inputs(const std::string& target) {
  std::vector<std::filesystem::path> files;
  const auto dir = std::filesystem::path(TALLYFORM_SOURCE_DIR) / "tests/hostile/regressions" / target;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(dir, ec))
    if (e.is_regular_file()) files.push_back(e.path());
  return files;
}

TEST(FuzzRegressions, XlsStream) {
  for (const auto& file : Inputs("fuzz_xls_stream")) {
    SCOPED_TRACE(file.string());
    const std::string bytes = testing_support::ReadFile(file.string());
    Xls::XlsBook book;
    if (book.LoadStream(ByteOrder::ByteSpan(bytes.data(), bytes.size())))
      VisitBook(book, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  }
}

TEST(FuzzRegressions, XlsBook) {
  for (const auto& file : Inputs("fuzz_xls_book")) {
    SCOPED_TRACE(file.string());
    const std::string bytes = testing_support::ReadFile(file.string());
    Xls::XlsBook book;
    if (book.Load(file.string()))
      VisitBook(book, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  }
}

TEST(FuzzRegressions, CompoundFile) {
  for (const auto& file : Inputs("fuzz_compound_file")) {
    SCOPED_TRACE(file.string());
    Cfb::CompoundFile document;
    std::vector<char> stream;
    if (document.Open(file.string(), 3)) document.ReadFile("Workbook", stream);
  }
}

TEST(FuzzRegressions, TextBook) {
  for (const auto& file : Inputs("fuzz_text_book")) {
    SCOPED_TRACE(file.string());
    TextBook book;
    if (!book.Load(file.string())) continue;
    TextSheet* sheet = book.GetWorksheet(0);
    for (int32_t r = 0; r < sheet->GetTotalRows(); ++r)
      for (uint32_t c = 0; c < 8; ++c) sheet->Cell(static_cast<uint32_t>(r), c)->GetString();
  }
}

// The 100-sheet stream the grid limit was made for: 6.5 million grid rows from 4 KB.
TEST(FuzzRegressions, ManyTallSheetsFailTheLoadInsteadOfExhaustingMemory) {
  const std::string bytes = testing_support::ReadFile(
      std::string(TALLYFORM_SOURCE_DIR) + "/tests/hostile/regressions/fuzz_xls_stream/many-tall-sheets.bin");
  ASSERT_FALSE(bytes.empty());
  Xls::XlsBook book;
  EXPECT_FALSE(book.LoadStream(ByteOrder::ByteSpan(bytes.data(), bytes.size())));
  EXPECT_EQ(book.GetTotalWorkSheets(), 0);
}

}  // namespace
