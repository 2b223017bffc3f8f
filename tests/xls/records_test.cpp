// Record framing, the two string layouts and the shared string table across CONTINUE
// records, including input that lies about its own sizes.
#include <gtest/gtest.h>

#include "tests/xls/stream_builder.h"
#include "text/utf8.h"
#include "xls/record.h"
#include "xls/strings.h"
#include "xls/workbook_globals.h"

using namespace Xls;
using XlsTest::Bytes;
using XlsTest::Stream;

TEST(Record, JoinsContinueRecordsAndReportsTheFramedSize) {
  Stream s;
  s.rec(0x00FC, Bytes().u8(1).u8(2))
      .rec(0x003C, Bytes().u8(3))
      .rec(0x003C, Bytes().u8(4).u8(5).u8(6))
      .rec(0x003C, Bytes())
      .eof();
  Record r;
  EXPECT_EQ(r.Read(s.span()), 4u * 4 + 2 + 1 + 3 + 0);
  EXPECT_EQ(r.code, 0x00FC);
  EXPECT_EQ(r.data, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(r.continueOffsets, (std::vector<uint32_t>{2, 3, 6}));
}

TEST(Record, TruncatedInputStaysInsideTheBuffer) {
  // The length claims 100 bytes but 3 are there; a CONTINUE header is cut after its code.
  Stream s;
  s.rec(0x0031, Bytes().u8(1).u8(2).u8(3), 100);
  Record r;
  EXPECT_EQ(r.Read(s.span()), s.out.b.size());
  EXPECT_EQ(r.dataSize, 3u);

  const std::vector<uint8_t> cut = {0x31, 0x00, 0x01, 0x00, 0x07, 0x3C, 0x00, 0x09};
  EXPECT_EQ(r.Read(ByteSpan(cut.data(), cut.size())), cut.size());
  EXPECT_EQ(r.data, (std::vector<uint8_t>{7}));

  const std::vector<uint8_t> one = {0x09};
  EXPECT_EQ(r.Read(ByteSpan(one.data(), one.size())), 1u);
  EXPECT_EQ(r.Read(ByteSpan()), 0u);
}

TEST(Record, ShortBofReadsMissingFieldsAsZero) {
  Stream s;
  s.rec(0x0809, Bytes().u16(0x0600).u16(0x0010).u8(7));
  BOF b;
  b.lowestVersion = 99;
  EXPECT_EQ(b.Read(s.span()), 9u);
  EXPECT_EQ(b.substreamType, 0x0010);
  EXPECT_EQ(b.buildIdentifier, 0);  // one of its two bytes is there: the field is missing
  EXPECT_EQ(b.lowestVersion, 0u);
}

TEST(Strings, LargeStringSkipsRunsAndPhoneticBlock) {
  Bytes b;
  b.u16(3).u8(0x0D).u16(2).u32(5).u16(u'a').u16(0x0416).u16(u'c');
  for (int i = 0; i < 8 + 5; ++i) b.u8(0xEE);
  b.u8(0x42);
  LargeString s;
  EXPECT_EQ(s.Read(ByteSpan(b.b.data(), b.b.size())), b.b.size() - 1);
  EXPECT_TRUE(s.IsWide());
  EXPECT_EQ(s.wideText, u"a\u0416c");
  EXPECT_EQ(s.richTextRuns, 2);
  EXPECT_EQ(s.phoneticSize, 5u);

  const std::vector<uint8_t> empty = {0, 0, 0, 9};
  EXPECT_EQ(s.Read(ByteSpan(empty.data(), empty.size())), 3u);
  EXPECT_TRUE(s.narrowText.empty());
  EXPECT_TRUE(s.wideText.empty());
}

TEST(Strings, ContinueReadConvertsToTheStringsOwnWidth) {
  LargeString narrow;
  narrow.flags = 0;
  const std::vector<uint8_t> wide = {1, 'h', 0, 0x16, 0x04, 0xE9, 0};
  EXPECT_EQ(narrow.ContinueRead(ByteSpan(wide.data(), wide.size()), 3), 7u);
  EXPECT_EQ(narrow.narrowText, "h?\xE9");
  EXPECT_EQ(narrow.ContinueRead(ByteSpan(wide.data(), wide.size()), 0), 0u);

  LargeString w;
  w.flags = 1;
  const std::vector<uint8_t> bytes = {0, 0xE9, 'x'};
  EXPECT_EQ(w.ContinueRead(ByteSpan(bytes.data(), bytes.size()), 5), 3u);  // only 2 present
  EXPECT_EQ(w.wideText, u"\u00E9x");
}

TEST(Strings, SmallStringAndLatin1Mapping) {
  Bytes b;
  b.u8(2).u8(1).u16(0x65E5).u16(u'Z');
  SmallString s;
  EXPECT_EQ(s.Read(ByteSpan(b.b.data(), b.b.size())), 6u);
  EXPECT_EQ(s.wideText, u"\u65E5Z");
  EXPECT_EQ(narrow_string(u"\u00FF\u0100a"), "\xFF?a");
  EXPECT_EQ(widen_string("\xE9"), u"\u00E9");
  EXPECT_EQ(Utf16ToUtf8(u"\u00E9\u65E5"), "\xC3\xA9\xE6\x97\xA5");
}

namespace {
Workbook::SharedStringTable ReadSst(const Stream& s) {
  Workbook::SharedStringTable sst;
  EXPECT_EQ(sst.Read(s.span()), s.out.b.size());
  return sst;
}
}  // namespace

TEST(SharedStrings, EightBitStringContinuedInSixteenBitForm) {
  Stream s;
  s.rec(0x00FC, Bytes().u32(2).u32(2).u16(6).u8(0).str8("abc"))
      .rec(0x003C, Bytes().u8(1).str16(u"d\u00E9\u0416").u16(2).u8(0).str8("ok"));
  const auto sst = ReadSst(s);
  ASSERT_EQ(sst.strings.size(), 2u);
  EXPECT_FALSE(sst.strings[0].IsWide());
  EXPECT_EQ(sst.strings[0].narrowText, "abcd\xE9?");
  EXPECT_EQ(sst.strings[1].narrowText, "ok");
}

TEST(SharedStrings, SixteenBitStringAcrossTwoBoundariesAndAStringAtABoundary) {
  Stream s;
  s.rec(0x00FC, Bytes().u32(3).u32(3).u16(5).u8(1).str16(u"AB"))
      .rec(0x003C, Bytes().u8(0).str8("CD"))           // narrow segment of a wide string
      .rec(0x003C, Bytes().u8(1).str16(u"\u65E5"))
      .rec(0x003C, Bytes().u16(2).u8(0).str8("xy").u16(1).u8(0).str8("z"));  // starts at boundary
  const auto sst = ReadSst(s);
  ASSERT_EQ(sst.strings.size(), 3u);
  EXPECT_EQ(sst.strings[0].wideText, u"ABCD\u65E5");
  EXPECT_EQ(sst.strings[1].narrowText, "xy");
  EXPECT_EQ(sst.strings[2].narrowText, "z");
}

TEST(SharedStrings, AbsurdCountsMakeOnlyTheStringsPresent) {
  Stream s;
  s.rec(0x00FC, Bytes().u32(0xFFFFFFFF).u32(0xFFFFFFFF).u16(2).u8(0).str8("hi").u16(60000).u8(1).u16(u'x'));
  const auto sst = ReadSst(s);
  ASSERT_EQ(sst.strings.size(), 2u);
  EXPECT_EQ(sst.strings[0].narrowText, "hi");
  EXPECT_EQ(sst.strings[1].wideText, u"x");
}

// A book packs the table straight from the stream's records; that must read every string
// as the joined copy does, whatever the cuts between records split: headers, characters,
// the runs and phonetic blocks after them, or a table that ends mid-string.
TEST(SharedStrings, PackedFromTheStreamAsFromAJoinedCopy) {
  for (uint32_t seed = 1; seed <= 400; ++seed) {
    uint32_t state = seed;
    const auto next = [&state](uint32_t below) {
      state = state * 1103515245u + 12345u;
      return (state >> 8) % below;
    };
    Bytes data;
    const uint32_t strings = 1 + next(12);
    data.u32(strings).u32(strings);
    const uint8_t flagChoices[] = {0x00, 0x01, 0x08, 0x09, 0x04, 0x05, 0x0C, 0x80, 0x81};
    for (uint32_t i = 0; i < strings; ++i) {
      const uint8_t flags = flagChoices[next(sizeof flagChoices)];
      const uint16_t count = static_cast<uint16_t>(next(7));
      data.u16(count).u8(flags);
      const uint16_t runs = static_cast<uint16_t>(next(3));
      const uint32_t phonetic = next(6);
      if (flags & 0x08) data.u16(runs);
      if (flags & 0x04) data.u32(phonetic);
      for (size_t k = 0; k < count * ((flags & 1) ? 2u : 1u); ++k) data.u8(static_cast<uint8_t>('a' + next(26)));
      for (size_t k = 0; k < ((flags & 0x08) ? 4u * runs : 0u) + ((flags & 0x04) ? phonetic : 0u); ++k) data.u8(0xEE);
    }
    data.b.resize(data.b.size() - next(4));  // now and then the table ends early
    // Cut the data into a record and CONTINUE records at arbitrary places (some empty).
    Stream s;
    size_t at = 0;
    bool first = true;
    while (at < data.b.size() || first) {
      const size_t take = std::min<size_t>(next(9), data.b.size() - at);
      s.rec(first ? 0x00FC : 0x003C, Bytes().raw(std::vector<uint8_t>(data.b.begin() + at, data.b.begin() + at + take)));
      at += take;
      first = false;
    }
    s.eof();
    Workbook::SharedStringTable joined, packed;
    packed.compact = true;
    const uint32_t framed = joined.Read(s.span());
    ASSERT_EQ(packed.Read(s.span()), framed) << seed;
    EXPECT_EQ(packed.dataSize, joined.dataSize) << seed;
    ASSERT_EQ(packed.texts.size(), joined.strings.size()) << seed;
    // Packed texts are terminated: compared up to a NUL, as the grids read them.
    for (size_t i = 0; i < joined.strings.size(); ++i) {
      const LargeString& want = joined.strings[i];
      if (want.IsWide())
        EXPECT_EQ(std::u16string(packed.texts.Wide(i)), std::u16string(want.wideText.c_str())) << seed << " #" << i;
      else
        EXPECT_STREQ(packed.texts.Narrow(i), want.narrowText.c_str()) << seed << " #" << i;
    }
  }
}

TEST(Globals, ReadsKeptRecordsAndResumesAfterTheSstContinues) {
  Stream s;
  s.bof(0x0005)
      .rec(0x0031, Bytes().u16(200).u16(0).u16(8).u16(400).u16(0).u8(0).u8(0).u8(0).u8(0).u8(5).u8(0).str8("Arial"))
      .rec(0x0293, Bytes().u16(0x8000).u8(3).u8(0xFF))
      .rec(0x0293, Bytes().u16(0x0010).u16(4).u8(0).str8("Mine"))
      .rec(0x041E, Bytes().u16(164).u16(4).u8(0).str8("0.00"))
      .rec(0x0085, Bytes().u32(1234).u8(0).u8(0).u8(3).u8(1).str16(u"\u0416ab"))
      .rec(0x00FC, Bytes().u32(1).u32(1).u16(4).u8(0).str8("ab"))
      .rec(0x003C, Bytes().u8(0).str8("cd"))
      .rec(0x00FF, Bytes().u16(8))
      .rec(0x000A, Bytes().u32(0xDEADBEEF))  // EOF counts 4 bytes whatever its length says
      .bof(0x0010);
  Workbook wb;
  EXPECT_EQ(wb.Read(s.span()), s.out.b.size() - 20 - 4);
  ASSERT_EQ(wb.fonts.size(), 1u);
  EXPECT_EQ(wb.fonts[0].name.narrowText, "Arial");
  ASSERT_EQ(wb.styles.size(), 2u);
  EXPECT_EQ(wb.styles[0].builtInIdentifier, 3);
  EXPECT_EQ(wb.styles[1].name.narrowText, "Mine");
  EXPECT_EQ(wb.styles[1].builtInIdentifier, 0);
  EXPECT_EQ(wb.formats[0].formatString.narrowText, "0.00");
  EXPECT_EQ(wb.boundSheets[0].bofPosition, 1234u);
  EXPECT_EQ(wb.boundSheets[0].name.wideText, u"\u0416ab");
  EXPECT_EQ(wb.sst.strings[0].narrowText, "abcd");
}

TEST(Globals, MissingEofConsumesTheRestAndFilePassStopsReading) {
  Stream s;
  s.bof(0x0005).rec(0x0085, Bytes().u32(0).u8(0).u8(0).u8(40));  // name count past the end
  Workbook wb;
  EXPECT_EQ(wb.Read(s.span()), s.out.b.size());
  EXPECT_FALSE(wb.encrypted);

  Stream e;
  e.bof(0x0005).rec(0x002F, Bytes().u16(1)).rec(0x0031, Bytes().u16(1)).eof();
  Workbook enc;
  EXPECT_EQ(enc.Read(e.span()), e.out.b.size());
  EXPECT_TRUE(enc.encrypted);
  EXPECT_TRUE(enc.fonts.empty());
}
