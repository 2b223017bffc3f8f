// Loading workbooks: the walk over substreams, the grid each sheet presents (counts, the
// growing Cell, sparse storage), and whole fixture files from independent writers.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <tuple>

#include "tests/xls/stream_builder.h"
#include "xls/xls_book.h"

using namespace Xls;
using XlsTest::Bytes;
using XlsTest::Stream;

#if defined(__SANITIZE_ADDRESS__)
#define XLS_TEST_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define XLS_TEST_SANITIZED 1
#endif
#endif

namespace {

const std::string kData = TALLYFORM_SOURCE_DIR "/tests/xls/data/";

std::vector<char> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct LoadedStream {
  explicit LoadedStream(const std::string& name) : bytes(ReadFileBytes(kData + name)) {
    EXPECT_FALSE(bytes.empty()) << name;
    book.LoadStream(ByteSpan(bytes.data(), bytes.size()));
  }
  std::vector<char> bytes;
  XlsBook book;
};

}  // namespace

// A sheet that is not a worksheet, with records that would read as cells and a nested
// substream of its own.
void OtherSheet(Stream& s, uint16_t type, bool dialog) {
  s.bof(type);
  if (dialog) s.rec(0x0081, Bytes().u16(0x0411));
  s.row(0).number(0, 0, 99).bof(0x0020).number(1, 1, 98).eof().number(2, 2, 97).eof();
}

// Chart sheets, macro sheets, modules, dialog sheets and the like, before, between and after
// the worksheets: every worksheet is read, in stream order, and named by its own entry.
TEST(XlsBookWalk, EveryWorksheetIsReadWhereverOtherSheetsStand) {
  struct Kind {
    const char* what;
    uint16_t type;
    bool dialog;
  };
  const Kind kinds[] = {{"chart", 0x0020, false}, {"macro sheet", 0x0040, false},
                        {"module", 0x0006, false}, {"workspace", 0x0100, false},
                        {"dialog sheet", 0x0010, true}};
  for (const Kind& k : kinds) {
    for (int other = 0; other < 3; ++other) {
      Stream s;
      s.globals({"a"}, 3);
      for (int i = 0, w = 0; i < 3; ++i) {
        if (i == other)
          OtherSheet(s, k.type, k.dialog);
        else
          s.bof(0x0010).number(0, 0, ++w).eof();
      }
      const std::string at = std::string(k.what) + " at " + std::to_string(other);
      XlsBook book;
      EXPECT_TRUE(book.LoadStream(s.span())) << at;
      ASSERT_EQ(book.GetTotalWorkSheets(), 2) << at;
      for (int w = 0; w < 2; ++w) {
        XlsSheet* sheet = book.GetWorksheet(w);
        EXPECT_EQ(sheet->GetTotalRows(), 1) << at;
        EXPECT_EQ(sheet->Cell(0, 0)->GetInteger(), w + 1) << at;
        const std::string name = "Sheet" + std::to_string(w + (w >= other ? 2 : 1));
        EXPECT_STREQ(sheet->GetAnsiSheetName(), name.c_str()) << at;
        EXPECT_EQ(book.GetWorksheet(name), sheet) << at;
      }
      EXPECT_EQ(book.GetWorksheet(2), nullptr);
      EXPECT_EQ(book.GetWorksheet(-1), nullptr);
    }
  }
  Stream s;
  s.globals({"a"}, 1).bof(0x0010).eof();
  XlsBook book;
  book.LoadStream(s.span());
  EXPECT_STREQ(book.GetAnsiSheetName(0), "Sheet1");
  EXPECT_EQ(book.GetWorksheet(u"Sheet1"), nullptr);  // held as 8-bit, asked as 16-bit
}

// The sheet list may order the sheets otherwise than the stream: each worksheet takes the
// entry that holds its BOF's position.
TEST(XlsBookWalk, SheetNamesFollowTheirBofPositions) {
  const auto globals = [](const std::vector<std::pair<std::string, uint32_t>>& list) {
    Stream g;
    g.bof(0x0005);
    for (const auto& [name, at] : list)
      g.rec(0x0085, Bytes().u32(at).u8(0).u8(0).u8(static_cast<uint8_t>(name.size())).u8(0).str8(name));
    return g.eof();
  };
  const size_t size = globals({{"Chart", 0}, {"Second", 0}, {"First", 0}}).out.b.size();
  const uint32_t first = static_cast<uint32_t>(size), chart = first + 42, second = chart + 24;
  Stream s = globals({{"Chart", chart}, {"Second", second}, {"First", first}});
  s.bof(0x0010).number(0, 0, 1).eof().bof(0x0020).eof().bof(0x0010).number(0, 0, 2).eof();
  ASSERT_EQ(s.out.b.size(), second + 42u);
  XlsBook book;
  ASSERT_TRUE(book.LoadStream(s.span()));
  ASSERT_EQ(book.GetTotalWorkSheets(), 2);
  EXPECT_STREQ(book.GetWorksheet(0)->GetAnsiSheetName(), "First");
  EXPECT_STREQ(book.GetWorksheet(1)->GetAnsiSheetName(), "Second");
  EXPECT_EQ(book.GetWorksheet(std::string("Second"))->Cell(0, 0)->GetInteger(), 2);
  EXPECT_EQ(book.GetWorksheet(std::string("Chart")), nullptr);
}

// Damaged nesting ends inside the stream and keeps every worksheet it can still tell apart.
TEST(XlsBookWalk, DamagedNestingStaysBoundedAndKeepsTheWorksheets) {
  struct Case {
    const char* what;
    void (*build)(Stream&);
    std::vector<int> values;  // cell (0, 0) of each worksheet read
  };
  const Case cases[] = {
      {"chart sheet without EOF before a worksheet",
       [](Stream& s) { s.bof(0x0020).number(0, 0, 9).bof(0x0010).number(0, 0, 2).eof(); }, {1, 2}},
      {"chart sheet running to the end",
       [](Stream& s) { s.bof(0x0020).bof(0x0020).number(0, 0, 9); }, {1}},
      {"a hundred thousand nested BOFs without EOF before a worksheet",
       [](Stream& s) {
         for (int i = 0; i < 100000; ++i) s.bof(0x0020);
         s.bof(0x0010).number(0, 0, 2).eof();
       },
       {1, 2}},
      {"worksheet whose embedded chart lacks its EOF",
       [](Stream& s) { s.bof(0x0010).bof(0x0020).eof().bof(0x0010).number(0, 0, 2).eof(); }, {1, 0, 2}},
      {"stray EOF between substreams ends the walk",
       [](Stream& s) { s.eof().bof(0x0010).number(0, 0, 2).eof(); }, {1}},
  };
  for (const Case& c : cases) {
    Stream s;
    s.globals({}, 0).bof(0x0010).number(0, 0, 1).eof();
    c.build(s);
    XlsBook book;
    EXPECT_TRUE(book.LoadStream(s.span())) << c.what;
    std::vector<int> values;
    for (int32_t i = 0; i < book.GetTotalWorkSheets(); ++i)
      values.push_back(book.GetWorksheet(i)->Cell(0, 0)->GetInteger());
    EXPECT_EQ(values, c.values) << c.what;
  }
  // Globals without their EOF: the worksheets after them are still found.
  Stream g;
  g.bof(0x0005).bof(0x0010).number(0, 0, 5).eof();
  XlsBook book;
  book.LoadStream(g.span());
  ASSERT_EQ(book.GetTotalWorkSheets(), 1);
  EXPECT_EQ(book.GetWorksheet(0)->Cell(0, 0)->GetInteger(), 5);
}

TEST(XlsBookWalk, EncryptedOrForeignStreamsYieldNoWorksheets) {
  Stream enc;
  enc.bof(0x0005).rec(0x002F, Bytes().u16(1).u16(0x1234)).rec(0x1234, Bytes().u32(0)).eof();
  enc.bof(0x0010).number(0, 0, 1).eof();
  XlsBook a;
  EXPECT_TRUE(a.LoadStream(enc.span()));
  EXPECT_EQ(a.GetTotalWorkSheets(), 0);
  EXPECT_EQ(a.GetWorksheet(0), nullptr);

  Stream noBof;
  noBof.number(0, 0, 1).eof();
  XlsBook b;
  b.LoadStream(noBof.span());
  EXPECT_EQ(b.GetTotalWorkSheets(), 0);
  b.LoadStream(ByteSpan());
  EXPECT_EQ(b.GetTotalWorkSheets(), 0);
}

TEST(XlsSheetGrid, CountsFollowValueCellsOnly) {
  Bytes mulrk;
  mulrk.u16(1).u16(2).u16(15).u32(6).u16(15).u32(10).u16(15).u32(14).u16(15).u32(18).u16(5);
  Bytes mulblank;
  mulblank.u16(2).u16(1);
  for (int i = 0; i < 30; ++i) mulblank.u16(40);
  mulblank.u16(30);
  Stream s;
  s.globals({"", "text"}).bof(0x0010).row(1)
      .rec(0x00BD, mulrk)
      .labelsst(9, 0, 1)
      .labelsst(3, 0, 0)      // empty shared string: the cell stays empty
      .labelsst(4, 0, 77)     // index past the table
      .rec(0x0205, Bytes().u16(5).u16(0).u16(15).u8(1).u8(0))
      .rec(0x0205, Bytes().u16(5).u16(1).u16(15).u8(7).u8(1))
      .blank(200, 200)
      .rec(0x00BE, mulblank)
      .dbcell()
      .rec(0x00E5, Bytes().u16(1).u16(9).u16(10).u16(0).u16(3))
      .eof();
  XlsBook book;
  book.LoadStream(s.span());
  XlsSheet* sheet = book.GetWorksheet(0);
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(sheet->GetTotalRows(), 10);
  EXPECT_EQ(sheet->GetTotalCols(), 6);
  const XlsSheet& ro = *sheet;
  EXPECT_EQ(ro.Cell(1, 5)->GetInteger(), 4);
  EXPECT_EQ(ro.Cell(3, 0)->Type(), CellUndefined);
  EXPECT_EQ(ro.Cell(4, 0)->Type(), CellUndefined);
  EXPECT_EQ(ro.Cell(4, 0)->GetXFormatIdx(), 15);
  EXPECT_EQ(ro.Cell(5, 0)->GetInteger(), 1);
  EXPECT_EQ(ro.Cell(5, 1)->Type(), CellUndefined);
  EXPECT_EQ(ro.Cell(2, 3)->GetXFormatIdx(), 40);
  EXPECT_EQ(ro.Cell(9, 0)->GetMergedRows(), 2);
  EXPECT_EQ(ro.Cell(9, 0)->GetMergedColumns(), 4);
  EXPECT_EQ(ro.Cell(10, 0), nullptr);
  EXPECT_EQ(ro.Cell(0, 6), nullptr);

  // Growing past the MULBLANK-stretched row keeps its cells up to the new width only.
  ASSERT_NE(sheet->Cell(0, 10), nullptr);
  EXPECT_EQ(sheet->GetTotalCols(), 11);
  EXPECT_EQ(sheet->Cell(2, 10)->GetXFormatIdx(), 40);
  sheet->Cell(0, 20);
  EXPECT_EQ(sheet->Cell(2, 15)->GetXFormatIdx(), 0);
}

TEST(XlsSheetGrid, RecordsApplyInFileOrderWhateverTheirColumnOrder) {
  Bytes mulrk;  // row 2, columns 1 to 3: 100, 200, 300
  mulrk.u16(2).u16(1).u16(15).u32(100 << 2 | 2).u16(15).u32(200 << 2 | 2).u16(15).u32(300 << 2 | 2).u16(3);
  Stream s;
  s.globals({"text"}).bof(0x0010)
      .number(2, 0, 5)                                            // a later row first
      .number(0, 3, 1).rk(0, 1, 2 << 2 | 2)                       // row 0, columns descending
      .rec(0x0201, Bytes().u16(0).u16(3).u16(9))                  // a BLANK keeps the number
      .labelsst(0, 1, 0)                                          // text replaces the RK
      .number(1, 0, 10).number(1, 1, 11).number(1, 2, 12)         // an ordinary row
      .rec(0x00BD, mulrk).rk(2, 2, 7 << 2 | 2)                    // an RK inside a MULRK's run
      .rec(0x00E5, Bytes().u16(1).u16(3).u16(3).u16(2).u16(3))    // no record at its top-left
      .number(3, 0, 7)
      .eof();
  XlsBook book;
  ASSERT_TRUE(book.LoadStream(s.span()));
  const XlsSheet& sheet = *book.GetWorksheet(0);
  EXPECT_EQ(sheet.GetTotalRows(), 4);
  EXPECT_EQ(sheet.GetTotalCols(), 4);
  EXPECT_EQ(sheet.Cell(0, 3)->Type(), CellDouble);
  EXPECT_EQ(sheet.Cell(0, 3)->GetInteger(), 1);
  EXPECT_EQ(sheet.Cell(0, 3)->GetXFormatIdx(), 9);
  EXPECT_STREQ(sheet.Cell(0, 1)->GetString(), "text");
  EXPECT_EQ(sheet.Cell(1, 2)->GetInteger(), 12);
  EXPECT_EQ(sheet.Cell(2, 0)->GetInteger(), 5);
  EXPECT_EQ(sheet.Cell(2, 1)->GetInteger(), 100);
  EXPECT_EQ(sheet.Cell(2, 2)->GetInteger(), 7);
  EXPECT_EQ(sheet.Cell(2, 3)->GetInteger(), 300);
  EXPECT_EQ(sheet.Cell(3, 2)->Type(), CellUndefined);
  EXPECT_EQ(sheet.Cell(3, 2)->GetMergedColumns(), 2);

  std::vector<std::pair<int32_t, int32_t>> visited;
  sheet.ForEachStoredCell([&](int32_t r, int32_t c, const XlsCell& cell) {
    EXPECT_EQ(sheet.Cell(r, c), &cell);
    visited.emplace_back(r, c);
  });
  const std::vector<std::pair<int32_t, int32_t>> expected = {
      {0, 1}, {0, 3}, {1, 0}, {1, 1}, {1, 2}, {2, 0}, {2, 1}, {2, 2}, {2, 3}, {3, 0}, {3, 2}};
  EXPECT_EQ(visited, expected);
}

// Records in row order are read where they lie: those outside the grid, inside a row's
// run or between rows, are stepped over without shifting any cell.
TEST(XlsSheetGrid, RowOrderedRecordsStepOverThoseOutsideTheGrid) {
  Stream s;
  s.globals({"a", "b"}).bof(0x0010)
      .blank(0, 200)                           // past the last column, first in the list
      .number(0, 1, 1).blank(60000, 0)         // past the last row, inside row 0's run
      .labelsst(0, 1, 0)
      .number(1, 0, 2).blank(1, 200).rk(1, 1, 3 << 2 | 2)
      .number(2, 1, 4).labelsst(2, 0, 1)       // columns descending within the row
      .blank(2, 201)
      .eof();
  XlsBook book;
  ASSERT_TRUE(book.LoadStream(s.span()));
  const XlsSheet& sheet = *book.GetWorksheet(0);
  EXPECT_EQ(sheet.GetTotalRows(), 3);
  EXPECT_EQ(sheet.GetTotalCols(), 2);
  std::vector<std::tuple<int32_t, int32_t, std::string>> seen;
  sheet.ForEachStoredCell([&](int32_t r, int32_t c, const XlsCell& cell) {
    seen.emplace_back(r, c, cell.GetString() ? cell.GetString() : std::to_string(cell.GetInteger()));
  });
  const std::vector<std::tuple<int32_t, int32_t, std::string>> expected = {
      {0, 1, "a"}, {1, 0, "2"}, {1, 1, "3"}, {2, 0, "b"}, {2, 1, "4"}};
  EXPECT_EQ(seen, expected);
}

TEST(XlsSheetGrid, EmptySheetIsOneByOneAndTheGrowingCellKeepsPointers) {
  Stream s;
  s.globals().bof(0x0010).blank(7, 3).eof();
  XlsBook book;
  book.LoadStream(s.span());
  XlsSheet* sheet = book.GetWorksheet(0);
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(sheet->GetTotalRows(), 1);
  EXPECT_EQ(sheet->GetTotalCols(), 1);
  EXPECT_EQ(sheet->Cell(70000, 0), nullptr);
  EXPECT_EQ(sheet->Cell(0, 300), nullptr);
  XlsCell* c = sheet->Cell(0, 4);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(sheet->GetTotalCols(), 5);
  c->SetString("kept");
  for (int r = 0; r < 50; ++r) sheet->Cell(r, r % 5);  // no growth of columns
  EXPECT_EQ(sheet->GetTotalRows(), 50);
  EXPECT_STREQ(c->GetString(), "kept");
  EXPECT_EQ(sheet->Cell(0, 4), c);
}

TEST(XlsSheetGrid, MemoryFollowsTheCellsNotRowsTimesColumns) {
  // Every row holds one value in column 255: a dense grid would need 16.7 million cells.
  Stream s;
  s.globals().bof(0x0010);
  for (uint32_t r = 0; r < 65536; ++r) s.number(static_cast<uint16_t>(r), 255, r);
  s.eof();
  ASSERT_GT(s.out.b.size(), 1000000u);
  const std::string path = TALLYFORM_BINARY_DIR "/sparse-column-255.bin";
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(s.out.b.data()), s.out.b.size());

  XlsBook book;
  book.LoadStream(s.span());
  XlsSheet* sheet = book.GetWorksheet(0);
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(sheet->GetTotalRows(), 65536);
  EXPECT_EQ(sheet->GetTotalCols(), 256);
  EXPECT_EQ(sheet->Cell(65535, 255)->GetInteger(), 65535);
  EXPECT_EQ(sheet->Cell(100, 3)->Type(), CellUndefined);

#ifndef XLS_TEST_SANITIZED
  // Peak memory of a whole CLI load of that stream, measured on the child alone.
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    if (!freopen("/dev/null", "w", stdout)) _exit(3);
    execl(TALLYFORM_CLI, TALLYFORM_CLI, "inspect", "--stream", path.c_str(), static_cast<char*>(nullptr));
    _exit(4);
  }
  int status = 0;
  rusage usage{};
  ASSERT_EQ(wait4(pid, &status, 0, &usage), pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_LT(usage.ru_maxrss, 100 * 1024) << "peak KiB";
#endif
}

TEST(XlsFixtures, ValuesFromIndependentWriters) {
  LoadedStream lo("lo-formulas.bin");
  ASSERT_EQ(lo.book.GetTotalWorkSheets(), 2);
  XlsSheet* f = lo.book.GetWorksheet(0);
  EXPECT_EQ(f->GetTotalRows(), 43);
  EXPECT_EQ(f->GetTotalCols(), 5);
  EXPECT_EQ(f->Cell(1, 1)->GetInteger(), 14);
  EXPECT_EQ(f->Cell(1, 2)->Type(), CellFormula);
  EXPECT_DOUBLE_EQ(f->Cell(1, 2)->GetDouble(), 28.5);
  EXPECT_STREQ(f->Cell(40, 3)->GetString(), "row 41-x");
  EXPECT_EQ(f->Cell(39, 4)->GetInteger(), 1);  // TRUE
  EXPECT_EQ(f->Cell(40, 4)->GetInteger(), 0);  // FALSE
  EXPECT_STREQ(f->Cell(42, 0)->GetString(), "Gr\xF6\xDF" "e");
  EXPECT_EQ(f->Cell(42, 1)->Type(), CellWString);

  LoadedStream xlwt("xlwt-mixed.bin");
  ASSERT_EQ(xlwt.book.GetTotalWorkSheets(), 3);
  XlsSheet* songs = xlwt.book.GetWorksheet(0);
  EXPECT_EQ(songs->GetTotalRows(), 74);  // the blanks below the data add no rows
  EXPECT_EQ(songs->GetTotalCols(), 5);
  EXPECT_STREQ(songs->Cell(69, 0)->GetString(), "Song 069");
  EXPECT_EQ(songs->Cell(69, 1)->GetInteger(), 207);
  EXPECT_EQ(songs->Cell(70, 0)->GetInteger(), 1);
  EXPECT_EQ(std::u16string(songs->Cell(72, 0)->GetWString()), u"Кириллица и 日本語");
  XlsSheet* strings = xlwt.book.GetWorksheet(1);
  EXPECT_EQ(std::string(strings->Cell(400, 0)->GetString()), std::string(9000, 'L'));
  EXPECT_EQ(std::u16string(strings->Cell(401, 0)->GetWString()), std::u16string(5000, u'Ж'));
  EXPECT_EQ(xlwt.book.GetWorksheet(2)->GetTotalRows(), 1);

  // A chart sheet, or an embedded chart, before the second worksheet.
  for (const char* name : {"perl-chartsheet.bin", "perl-embedded-chart.bin"}) {
    LoadedStream p(name);
    ASSERT_EQ(p.book.GetTotalWorkSheets(), 2) << name;
    EXPECT_STREQ(p.book.GetWorksheet(0)->Cell(11, 1)->GetString(), "item 0!") << name;
    XlsSheet* after = p.book.GetWorksheet(1);
    EXPECT_STREQ(after->GetAnsiSheetName(), "After") << name;
    EXPECT_STREQ(after->Cell(0, 0)->GetString(), "after the chart") << name;
    EXPECT_EQ(after->Cell(1, 1)->GetInteger(), 42) << name;
  }
}

TEST(XlsBookLoad, HeldFileRefusesASecondLoadAndAFailedLoadKeepsSheets) {
  const std::string fixture = kData + "perl-values.xls";
  XlsBook first;
  ASSERT_TRUE(first.Load(fixture));
  ASSERT_EQ(first.GetTotalWorkSheets(), 1);
  XlsBook second;
  EXPECT_FALSE(second.Load(fixture));
  EXPECT_FALSE(first.Load(kData + "no-such-file.xls"));
  ASSERT_EQ(first.GetTotalWorkSheets(), 1);
  EXPECT_STREQ(first.GetWorksheet(0)->Cell(0, 0)->GetString(), "Text");
  first.Close();
  EXPECT_TRUE(second.Load(fixture));
}

TEST(XlsBookLoad, AFailedLoadLeavesTheEarlierSheetsReadable) {
  Stream s;
  s.globals({"kept"}).bof(0x0010).labelsst(0, 0, 0).eof();
  XlsBook book;
  ASSERT_TRUE(book.LoadStream(s.span()));
  XlsSheet* before = book.GetWorksheet(0);
  EXPECT_FALSE(book.Load(kData + "no-such-file.xls"));
  EXPECT_FALSE(book.Load(std::u16string(u"/nonexistent/\u00E9.xls")));
  ASSERT_EQ(book.GetTotalWorkSheets(), 1);
  EXPECT_EQ(book.GetWorksheet(0), before);
  EXPECT_STREQ(before->Cell(0, 0)->GetString(), "kept");
}
