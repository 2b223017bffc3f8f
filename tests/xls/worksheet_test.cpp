// The worksheet substream reader: row blocks, the records a FORMULA carries, multi-cell
// records, merged ranges, and the damaged or unusual layouts it must survive.
#include <gtest/gtest.h>

#include "tests/xls/stream_builder.h"
#include "xls/worksheet.h"

using namespace Xls;
using XlsTest::Bytes;
using XlsTest::Stream;

namespace {
size_t CellCount(const Worksheet& w) {
  size_t n = 0;
  for (const auto& b : w.cellTable.rowBlocks) n += b.cellBlocks.size();
  return n;
}
}  // namespace

TEST(Worksheet, RowBlocksOfThirtyTwoRowsEachClosedByDbcell) {
  Stream s;
  s.bof(0x0010).rec(0x020B, Bytes().u32(0).u32(0).u32(70).u32(0).u32(100).u32(200).u32(300));
  for (int block = 0; block < 3; ++block) {
    const int first = block * 32, last = std::min(70, first + 32);
    for (int r = first; r < last; ++r) s.row(static_cast<uint16_t>(r));
    for (int r = first; r < last; ++r) s.number(static_cast<uint16_t>(r), 1, r);
    s.dbcell();
  }
  s.rec(0x023E, Bytes().u16(0x6B6).u16(0).u16(0).u16(64)).eof().bof(0x0010);
  Worksheet w;
  EXPECT_EQ(w.Read(s.span()), s.out.b.size() - 20);
  ASSERT_EQ(w.cellTable.rowBlocks.size(), 3u);
  EXPECT_EQ(w.cellTable.rowBlocks[0].rows.size(), 32u);
  EXPECT_EQ(w.cellTable.rowBlocks[2].rows.size(), 6u);
  EXPECT_EQ(w.cellTable.rowBlocks[2].cellBlocks[5]->RowIndex(), 69);
  EXPECT_EQ(w.index.dbCellPositions, (std::vector<uint32_t>{100, 200, 300}));
  EXPECT_EQ(w.window2.options, 0x6B6);
}

TEST(Worksheet, MissingDbcellEndsAtTheEofAndTheNextSubstreamIsFound) {
  Stream s;
  s.bof(0x0010).row(0).number(0, 0, 1.5).row(1).number(1, 0, 2.5);
  s.rec(0x00E5, Bytes().u16(1).u16(0).u16(1).u16(0).u16(0)).eof();
  const size_t end = s.out.b.size();
  s.bof(0x0010);
  Worksheet w;
  EXPECT_EQ(w.Read(s.span()), end);
  ASSERT_EQ(w.cellTable.rowBlocks.size(), 1u);
  EXPECT_EQ(w.cellTable.rowBlocks[0].cellBlocks.size(), 2u);
  EXPECT_TRUE(w.mergedCells.empty());  // inside the unclosed block: dropped
}

TEST(Worksheet, FormulaConsumesItsSharedFormulaAndStringRecords) {
  Bytes f;
  f.u16(2).u16(3).u16(21).u8(0).u8(0).u8(0).u8(0).u8(0).u8(0).u8(0xFF).u8(0xFF).u16(8).u32(0).u8(0x01).u8(0xAA);
  Stream s;
  s.bof(0x0010).row(2)
      .rec(0x0006, f)
      .rec(0x04BC, Bytes().u16(2).u16(9).u8(3).u8(3).u16(0).u8(0x44))
      .rec(0x0207, Bytes().u16(3).u8(1).str16(u"h\u00E9\u65E5"))
      .rec(0x0006, f)
      .rec(0x0207, Bytes().u16(2).u8(0).str8("ok"))
      .rec(0x0006, f)
      .rec(0x0236, Bytes().u16(0))  // a TABLE code that is not recognised
      .rec(0x0207, Bytes().u16(1).u8(0).str8("z"))
      .dbcell().eof();
  Worksheet w;
  EXPECT_EQ(w.Read(s.span()), s.out.b.size());
  const auto& cells = w.cellTable.rowBlocks.at(0).cellBlocks;
  ASSERT_EQ(cells.size(), 3u);
  const auto& a = static_cast<const Formula&>(*cells[0]->record);
  EXPECT_EQ(a.followingRecordType, 0x04BCu);
  EXPECT_EQ(a.sharedFormula1Record.lastRow, 9);
  EXPECT_EQ(a.sharedFormula1Record.tokens, (std::vector<uint8_t>{0x44}));
  EXPECT_EQ(a.stringRecord.wideText, u"h\u00E9\u65E5");
  EXPECT_EQ(a.tokens, (std::vector<uint8_t>{0x01, 0xAA}));
  const auto& b = static_cast<const Formula&>(*cells[1]->record);
  EXPECT_EQ(b.followingRecordType, 0xFFFFu);
  EXPECT_EQ(b.stringRecord.wideText, u"ok");
  const auto& c = static_cast<const Formula&>(*cells[2]->record);
  EXPECT_TRUE(c.stringRecord.Empty());
}

TEST(Worksheet, MultiCellRecordsUseOnlyTheEntriesPresent) {
  Bytes mulrk;
  mulrk.u16(4).u16(2);
  for (int i = 0; i < 4; ++i) mulrk.u16(static_cast<uint16_t>(20 + i)).u32(static_cast<uint32_t>((i << 2) | 2));
  mulrk.u16(5);
  Bytes backwards;
  backwards.u16(4).u16(9).u16(15).u32(2).u16(3);
  Bytes absurd;  // claims columns 0..255 but holds two entries
  absurd.u16(5).u16(0).u16(15).u32(6).u16(15).u32(10).u16(255);
  Bytes blanks;
  blanks.u16(6).u16(0);
  for (int i = 0; i < 10; ++i) blanks.u16(static_cast<uint16_t>(i));
  blanks.u16(9);
  Stream s;
  s.bof(0x0010).row(4).rec(0x00BD, mulrk).rec(0x00BD, backwards).rec(0x00BD, absurd)
      .rec(0x00BE, blanks).rec(0x00BD, Bytes().u8(1)).dbcell().eof();
  Worksheet w;
  EXPECT_EQ(w.Read(s.span()), s.out.b.size());
  const auto& cells = w.cellTable.rowBlocks.at(0).cellBlocks;
  ASSERT_EQ(cells.size(), 5u);
  const auto& m = static_cast<const MulRK&>(*cells[0]->record);
  ASSERT_EQ(m.entries.size(), 4u);
  EXPECT_EQ(m.entries[3].xfIndex, 23);
  EXPECT_EQ(m.entries[3].rkValue, (3 << 2) | 2);
  EXPECT_EQ(cells[0]->ColIndex(), 2);
  EXPECT_TRUE(static_cast<const MulRK&>(*cells[1]->record).entries.empty());
  EXPECT_EQ(static_cast<const MulRK&>(*cells[2]->record).entries.size(), 2u);
  EXPECT_EQ(static_cast<const MulBlank&>(*cells[3]->record).xfIndices.size(), 10u);
  EXPECT_TRUE(static_cast<const MulRK&>(*cells[4]->record).entries.empty());
}

TEST(Worksheet, MergedRangesAcrossRecordsAndCountsPastTheRecord) {
  Bytes three, two, lying;
  three.u16(3);
  for (int i = 0; i < 3; ++i) three.u16(i).u16(i + 1).u16(0).u16(2);
  two.u16(2);
  for (int i = 0; i < 2; ++i) two.u16(10 + i).u16(10 + i).u16(1).u16(4);
  lying.u16(5000).u16(7).u16(8).u16(0).u16(1);
  Stream s;
  s.bof(0x0010).rec(0x00E5, three).rec(0x00E5, two).rec(0x00E5, lying).eof();
  Worksheet w;
  EXPECT_EQ(w.Read(s.span()), s.out.b.size());
  ASSERT_EQ(w.mergedCells.size(), 6u);
  EXPECT_EQ(w.mergedCells[4].firstRow, 11);
  EXPECT_EQ(w.mergedCells[5].lastRow, 8);
}

TEST(Worksheet, CellsOutsideRowBlocksAreReadAndAnEmbeddedChartIsSkippedWhole) {
  Stream s;
  s.bof(0x0010).number(0, 0, 1).labelsst(0, 1, 0)
      .rec(0x0204, Bytes().u16(1).u16(0).u16(15).u16(3).u8(0).str8("abc"))
      .rec(0x00D6, Bytes().u16(1).u16(1).u16(15).u16(2).u8(1).str16(u"\u0416z").u16(0))
      .row(2).number(2, 0, 3).dbcell()
      .number(3, 0, 4)
      .bof(0x0020).number(9, 9, 99).rk(9, 8, 2).eof()  // the chart's own records
      .number(10, 0, 5).eof();
  Worksheet w;
  EXPECT_EQ(w.Read(s.span()), s.out.b.size());
  EXPECT_EQ(w.bof.substreamType, 0x0010);  // the sheet's own BOF, not the chart's
  ASSERT_EQ(w.cellTable.rowBlocks.size(), 3u);  // loose, ROW block, loose
  EXPECT_EQ(w.cellTable.rowBlocks[0].cellBlocks.size(), 4u);
  EXPECT_EQ(w.cellTable.rowBlocks[2].cellBlocks.size(), 2u);
  EXPECT_EQ(w.cellTable.rowBlocks[2].cellBlocks[1]->RowIndex(), 10);
  EXPECT_EQ(CellCount(w), 7u);
  const auto& label = static_cast<const Label&>(*w.cellTable.rowBlocks[0].cellBlocks[2]->record);
  EXPECT_EQ(label.text.narrowText, "abc");
  const auto& rstring = static_cast<const Label&>(*w.cellTable.rowBlocks[0].cellBlocks[3]->record);
  EXPECT_EQ(rstring.text.wideText, u"\u0416z");
}

// Where a sheet's reading ends when charts are nested in it, or when an EOF is missing: the
// bytes consumed and the cells kept. The next sheet's BOF is never consumed.
TEST(Worksheet, NestedSubstreamsAndMissingEofs) {
  struct Case {
    const char* what;
    void (*build)(Stream&);
    size_t unread;  // bytes left for the walk after the sheet's reading
    size_t cells;
  };
  const Case cases[] = {
      {"chart inside a row block",
       [](Stream& s) { s.row(0).number(0, 0, 1).bof(0x0020).number(5, 5, 9).eof().number(0, 1, 2).dbcell().eof(); },
       0, 2},
      {"chart holding a nested substream",
       [](Stream& s) { s.number(0, 0, 1).bof(0x0020).bof(0x0020).eof().number(5, 5, 9).eof().number(1, 0, 2).eof(); },
       0, 2},
      {"sheet without EOF before the next sheet",
       [](Stream& s) { s.number(0, 0, 1).bof(0x0010).number(0, 0, 2).eof(); }, 42, 1},
      {"row block without DBCELL or EOF before the next sheet",
       [](Stream& s) { s.row(0).number(0, 0, 1).bof(0x0010).eof(); }, 24, 1},
      {"chart without EOF: the sheet's EOF closes it, the next sheet ends the sheet",
       [](Stream& s) { s.number(0, 0, 1).bof(0x0020).number(5, 5, 9).eof().bof(0x0005).eof(); }, 24, 1},
      {"chart running to the end of the stream",
       [](Stream& s) { s.number(0, 0, 1).bof(0x0020).bof(0x0040).number(5, 5, 9); }, 0, 1},
  };
  for (const Case& c : cases) {
    Stream s;
    s.bof(0x0010);
    c.build(s);
    Worksheet w;
    EXPECT_EQ(w.Read(s.span()), s.out.b.size() - c.unread) << c.what;
    EXPECT_EQ(CellCount(w), c.cells) << c.what;
  }
}

TEST(Worksheet, WsboolMarksADialogSheet) {
  for (const uint16_t flags : {uint16_t{0x04C1}, uint16_t{0x0411}, uint16_t{0x0010}}) {
    Stream s;
    s.bof(0x0010).rec(0x0081, Bytes().u16(flags)).eof();
    Worksheet w;
    w.Read(s.span());
    EXPECT_EQ(w.dialogSheet, (flags & 0x0010) != 0) << flags;
  }
}

TEST(Worksheet, TruncatedAndEmptyStreamsStayInsideTheBuffer) {
  Stream s;
  s.bof(0x0010).row(0);
  s.out.u16(0x0203).u16(14).u16(0).u16(1);  // NUMBER cut short, no EOF
  Worksheet w;
  EXPECT_EQ(w.Read(s.span()), s.out.b.size());
  EXPECT_EQ(CellCount(w), 1u);
  Worksheet empty;
  EXPECT_EQ(empty.Read(ByteSpan()), 0u);
  const std::vector<uint8_t> odd = {0x09, 0x08, 0x10};
  EXPECT_EQ(empty.Read(ByteSpan(odd.data(), odd.size())), 3u);
}
