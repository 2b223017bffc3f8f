// Damaged Workbook streams: every fixture cut short at every point, and with bytes and
// record lengths overwritten at random (fixed seeds). Each must load within its buffer
// (checked by the sanitizer build) and present a grid that reads without surprises.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "xls/xls_book.h"

using namespace Xls;

namespace {

std::vector<char> Fixture(const std::string& name) {
  std::ifstream in(TALLYFORM_SOURCE_DIR "/tests/xls/data/" + name, std::ios::binary);
  return std::vector<char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Loads and touches every sheet; returns the number of stored non-empty cells.
size_t LoadAndWalk(const std::vector<char>& bytes) {
  XlsBook book;
  EXPECT_TRUE(book.LoadStream(ByteSpan(bytes.data(), bytes.size())));
  size_t cells = 0, text = 0;
  for (int32_t i = 0; i < book.GetTotalWorkSheets(); ++i) {
    XlsSheet* sheet = book.GetWorksheet(i);
    EXPECT_NE(sheet, nullptr);
    EXPECT_GE(sheet->GetTotalRows(), 1);
    EXPECT_LE(sheet->GetTotalRows(), 65536);
    EXPECT_GE(sheet->GetTotalCols(), 1);
    EXPECT_LE(sheet->GetTotalCols(), 256);
    sheet->ForEachStoredCell([&](int32_t, int32_t, const XlsCell& c) {
      if (c.Type() != CellUndefined) ++cells;
      if (const char* s = c.GetString()) {
        text += std::string(s).size();  // reads the text up to its terminator
      }
    });
    EXPECT_NE(sheet->Cell(sheet->GetTotalRows() - 1, 4), nullptr);
  }
  volatile size_t sink = text;
  (void)sink;
  return cells;
}

const char* const kFixtures[] = {"perl-values.bin", "perl-embedded-chart.bin", "lo-formulas.bin",
                                 "gnumeric-table.bin", "xlwt-mixed.bin"};

}  // namespace

TEST(DamagedStreams, CutShortAtEveryPoint) {
  const std::vector<char> whole = Fixture("perl-embedded-chart.bin");
  ASSERT_FALSE(whole.empty());
  const size_t full = LoadAndWalk(whole);
  size_t previous = 0;
  for (size_t n = 0; n <= whole.size(); n += 1) {
    const std::vector<char> cut(whole.begin(), whole.begin() + n);
    const size_t cells = LoadAndWalk(cut);
    EXPECT_LE(cells, full);
    previous = cells;
  }
  EXPECT_EQ(previous, full);
}

TEST(DamagedStreams, RandomOverwritesAndLengthFields) {
  for (const char* name : kFixtures) {
    const std::vector<char> original = Fixture(name);
    ASSERT_FALSE(original.empty()) << name;
    std::mt19937 rng(20261207);
    for (int round = 0; round < 120; ++round) {
      std::vector<char> bytes = original;
      std::uniform_int_distribution<size_t> at(0, bytes.size() - 1);
      const int edits = 1 + round % 8;
      for (int e = 0; e < edits; ++e) {
        const size_t p = at(rng);
        switch (rng() % 4) {
          case 0: bytes[p] = static_cast<char>(rng()); break;
          case 1:  // a huge length or count
            bytes[p] = '\xFF';
            if (p + 1 < bytes.size()) bytes[p + 1] = '\xFF';
            break;
          case 2: bytes[p] = 0; break;
          default: bytes.resize(p + 1); at = std::uniform_int_distribution<size_t>(0, bytes.size() - 1); break;
        }
      }
      LoadAndWalk(bytes);
    }
  }
}
