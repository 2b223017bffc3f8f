// The compact forms a book loads into: the packed shared-string table must hold exactly what
// the one-object-per-string form holds, grid cells borrow its texts (copies own theirs), and
// records framed without a copy report the same sizes as the copying reader.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "tests/xls/stream_builder.h"
#include "xls/big_allocator.h"
#include "xls/cell_records.h"
#include "xls/compact_cells.h"
#include "xls/growing_array.h"
#include "xls/workbook_globals.h"
#include "xls/xls_book.h"

using namespace Xls;
using XlsTest::Bytes;
using XlsTest::Stream;

TEST(PackedSharedStrings, HoldTheSameTextsAsTheStringObjects) {
  Stream s;
  s.rec(0x00FC, Bytes().u32(5).u32(5).u16(4).u8(1).str16(u"AB"))
      .rec(0x003C, Bytes().u8(0).str8("CD").u16(0).u8(0).u16(3).u8(0).str8("xy"))
      .rec(0x003C, Bytes().u8(0).str8("z").u16(2).u8(0x08).u16(1).str8("rt").u32(0).u16(1).u8(1).str16(u"\u65E5"));
  Workbook::SharedStringTable plain, packed;
  packed.compact = true;
  EXPECT_EQ(plain.Read(s.span()), packed.Read(s.span()));
  ASSERT_EQ(packed.texts.size(), plain.strings.size());
  ASSERT_EQ(plain.strings.size(), 5u);
  EXPECT_TRUE(packed.strings.empty());
  for (size_t i = 0; i < plain.strings.size(); ++i) {
    const LargeString& want = plain.strings[i];
    if (want.IsWide()) {
      ASSERT_NE(packed.texts.Wide(i), nullptr) << i;
      EXPECT_EQ(std::u16string(packed.texts.Wide(i)), want.wideText) << i;
      EXPECT_EQ(packed.texts.Narrow(i), nullptr) << i;
    } else {
      ASSERT_NE(packed.texts.Narrow(i), nullptr) << i;
      EXPECT_EQ(std::string(packed.texts.Narrow(i)), want.narrowText) << i;
    }
  }
  EXPECT_STREQ(packed.texts.Narrow(2), "xyz");  // the string cut at a record boundary

  // An empty 16-bit string, a phonetic block, a flags byte with bit 7 set, and a string cut
  // short by the end of the record.
  Stream odd;
  odd.rec(0x00FC, Bytes().u32(4).u32(4).u16(0).u8(1).u16(2).u8(0x04).u32(3).str8("ph").u8(1).u8(2).u8(3)
                      .u16(1).u8(0x81).str16(u"Q").u16(10).u8(0).str8("abc"));
  Workbook::SharedStringTable oddPlain, oddPacked;
  oddPacked.compact = true;
  EXPECT_EQ(oddPlain.Read(odd.span()), oddPacked.Read(odd.span()));
  ASSERT_EQ(oddPlain.strings.size(), 4u);
  ASSERT_EQ(oddPacked.texts.size(), 4u);
  ASSERT_NE(oddPacked.texts.Wide(0), nullptr);
  EXPECT_EQ(oddPacked.texts.Wide(0)[0], u'\0');
  for (size_t i = 1; i < 4; ++i) {
    ASSERT_NE(oddPacked.texts.Narrow(i), nullptr) << i;
    EXPECT_EQ(std::string(oddPacked.texts.Narrow(i)), oddPlain.strings[i].narrowText) << i;
  }
  EXPECT_STREQ(oddPacked.texts.Narrow(1), "ph");
  EXPECT_STREQ(oddPacked.texts.Narrow(3), "abc");
}

TEST(PackedSharedStrings, GridCellsBorrowAndCopiesOwn) {
  Stream s;
  s.globals({"first", "", "third"}).bof(0x0010).labelsst(0, 0, 0).labelsst(0, 1, 1).labelsst(1, 0, 2)
      .labelsst(1, 1, 9).eof();
  auto book = std::make_unique<XlsBook>();
  ASSERT_TRUE(book->LoadStream(s.span()));
  XlsSheet* sheet = book->GetWorksheet(0);
  ASSERT_NE(sheet, nullptr);
  EXPECT_STREQ(sheet->Cell(0, 0)->GetString(), "first");
  EXPECT_EQ(sheet->Cell(0, 1)->Type(), CellUndefined);  // an empty text is no text
  EXPECT_EQ(sheet->Cell(1, 1)->Type(), CellUndefined);  // index past the table
  XlsCell copy = *sheet->Cell(1, 0);
  XlsCell assigned;
  assigned = *sheet->Cell(0, 0);
  EXPECT_NE(copy.GetString(), sheet->Cell(1, 0)->GetString());  // its own bytes
  book.reset();  // the table the grid borrowed from is gone; the copies are not
  EXPECT_STREQ(copy.GetString(), "third");
  EXPECT_EQ(copy.GetStringLength(), 5u);
  EXPECT_STREQ(assigned.GetString(), "first");
  copy.SetString("changed");  // an owned text is replaced, not written through
  EXPECT_STREQ(copy.GetString(), "changed");
}

TEST(FramedRecords, SkipAndViewAgreeWithTheCopyingReader) {
  Stream s;
  s.rec(0x0203, Bytes().u16(3).u16(4).u16(15).u8(1).u8(2).u8(3).u8(4).u8(5).u8(6).u8(7).u8(0x40))
      .rec(0x003C, Bytes().u8(9))
      .rec(0x0203, Bytes().u16(1).u16(2).u16(15));
  const ByteSpan all = s.span();
  Record copying;
  const uint32_t first = copying.Read(all);
  EXPECT_EQ(Record::Skip(all), first);
  Number viewed;
  EXPECT_EQ(viewed.Read(all), first);  // joined with its CONTINUE: a copy is kept
  EXPECT_EQ(viewed.DataSize(), copying.DataSize());
  EXPECT_EQ(viewed.rowIndex, 3);
  Number shortOne;  // no CONTINUE: nothing kept, fields past the data read as zero
  const ByteSpan rest = all.Sub(first);
  EXPECT_EQ(shortOne.Read(rest), Record::Skip(rest));
  EXPECT_EQ(shortOne.colIndex, 2);
  EXPECT_EQ(shortOne.value, 0.0);
  EXPECT_TRUE(shortOne.data.empty());
  EXPECT_EQ(Record::Skip(all.Sub(0, 3)), 3u);  // a header cut short
}

// The common cell records are appended straight from their bytes; a CONTINUE after a record
// sends it through its decoder, with the same data. Both ways must give the same entries for
// every kind and every length, short ones and odd MULRK column ranges included.
TEST(CompactCellList, RecordsReadInPlaceAsTheirDecodersReadThem) {
  const uint16_t kinds[] = {0x00FD, 0x027E, 0x0203, 0x0201, 0x0205, 0x00BD};
  uint32_t seed = 12345;
  const auto next = [&seed] { return seed = seed * 1103515245u + 12345u, static_cast<uint8_t>(seed >> 16); };
  for (const uint16_t code : kinds) {
    for (uint16_t length = 0; length <= 24; ++length) {
      for (int round = 0; round < 8; ++round) {
        Bytes data;
        for (uint16_t i = 0; i < length; ++i) data.u8(next());
        if (code == 0x00BD && length >= 4 && round % 2 == 0) {
          data.b[2] = 3;  // a first column below the last, so that entries are kept
          data.b[3] = 0;
        }
        Stream alone, continued;
        alone.rec(code, data);
        continued.rec(code, data).rec(0x003C, Bytes());
        CompactCells inPlace, decoded;
        const uint32_t used = inPlace.Read(alone.span());
        EXPECT_EQ(decoded.Read(continued.span()), used + 4);
        const std::string what = "code " + std::to_string(code) + " length " + std::to_string(length);
        ASSERT_EQ(inPlace.cells.size(), decoded.cells.size()) << what;
        EXPECT_EQ(inPlace.highRow, decoded.highRow) << what;  // the grid's size comes from these
        EXPECT_EQ(inPlace.highColumn, decoded.highColumn) << what;
        for (size_t i = 0; i < inPlace.cells.size(); ++i)
          EXPECT_EQ(std::memcmp(&inPlace.cells[i], &decoded.cells[i], sizeof(CompactCell)), 0) << what;
        ASSERT_EQ(inPlace.rkEntries.size(), decoded.rkEntries.size()) << what;
        for (size_t i = 0; i < inPlace.rkEntries.size(); ++i) {
          EXPECT_EQ(inPlace.rkEntries[i].xfIndex, decoded.rkEntries[i].xfIndex) << what;
          EXPECT_EQ(inPlace.rkEntries[i].rkValue, decoded.rkEntries[i].rkValue) << what;
        }
      }
    }
  }
}

// The block a load lets go is kept for the next one of its length or somewhat less; a larger
// one, or one so much smaller that it would waste most of the pages, gets a mapping of its own.
// Every byte of each new block is written: a reused block too small would fault.
TEST(BigBlocks, TheLastOneFreedIsReusedOnlyWhereItFits) {
  constexpr size_t kMiB = size_t{1} << 20;
  const struct {
    size_t freed, wanted;
    bool reused;
  } cases[] = {
      {6 * kMiB, 5 * kMiB, true}, {6 * kMiB, 6 * kMiB, true}, {10 * kMiB, 6 * kMiB, true},
      {6 * kMiB, 8 * kMiB, false}, {10 * kMiB, 4 * kMiB, false},
  };
  for (const auto& c : cases) {
    ReleaseSpareBlock();
    const void* freedAt = nullptr;
    {
      BigVector<char> freed(c.freed, 'a');
      freedAt = freed.data();
    }
    BigVector<char> wanted(c.wanted, 'b');
    EXPECT_EQ(wanted.data() == freedAt, c.reused) << c.freed << " then " << c.wanted;
    EXPECT_EQ(wanted.back(), 'b');
  }
  ReleaseSpareBlock();
}

// A sheet's entries are appended without knowing their number: the list moves from the heap to
// a mapping and then grows by remapping, possibly to another address; a bound reserved ahead
// maps it at once, and a cut to its pages may be followed by more entries. Every element must
// survive each step, in copies and moves too, and the spare block (here the stream's) may be
// what the mapping starts in.
TEST(GrowingArrays, KeepEveryElementThroughEachGrowth) {
  const auto valueOf = [](size_t i) { return static_cast<uint32_t>(i * 2654435761u); };
  for (const size_t count : {size_t{0}, size_t{1}, size_t{64}, size_t{65}, (size_t{2} << 20) / 16, size_t{1} << 20}) {
    for (const size_t reserved : {size_t{0}, count / 2, count, size_t{1} << 20}) {
      ReleaseSpareBlock();
      { BigVector<char> stream(size_t{3} << 20, 's'); }  // leaves a spare block behind
      GrowingArray<CompactCell> cells;
      cells.reserve(reserved);
      const auto append = [&](size_t i) {
        CompactCell& c = cells.emplace_back();
        EXPECT_EQ(c.number, 0.0);
        c.value = valueOf(i);
        c.row = static_cast<uint16_t>(i);
      };
      for (size_t i = 0; i < count; ++i) append(i);
      cells.shrink_to_fit();
      for (size_t i = count; i < count + 1000; ++i) append(i);
      const size_t total = count + 1000;
      GrowingArray<CompactCell> copy(cells);
      GrowingArray<CompactCell> moved(std::move(cells));
      ASSERT_EQ(copy.size(), total);
      ASSERT_EQ(moved.size(), total);
      for (size_t i = 0; i < total; ++i) {
        ASSERT_EQ(copy[i].value, valueOf(i)) << count << " reserved " << reserved << " at " << i;
        ASSERT_EQ(moved[i].row, static_cast<uint16_t>(i)) << count << " reserved " << reserved << " at " << i;
      }
    }
  }
  ReleaseSpareBlock();
}
