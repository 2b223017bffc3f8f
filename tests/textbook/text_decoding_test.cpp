// How a text table's bytes are read: the encoding decided once from them, every text turned
// into UTF-8, and the delimiter found from the first non-empty record (or given by the caller).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/build_console.h"
#include "tests/support/files.h"
#include "tests/support/recording_console.h"
#include "textbook/text_book.h"

namespace {

using testing_support::ScratchDir;
using testing_support::WriteFile;
using V = std::vector<std::string>;

class TextDecodingTest : public ::testing::Test {
 protected:
  // Loads `bytes` and returns every non-empty field, row by row, as "r:c:text".
  V Cells(const std::string& bytes, TextDelimiter delimiter = TextDelimiter::kDetect) {
    WriteFile(dir_.File("t.csv"), bytes);
    EXPECT_TRUE(book_.Load(dir_.File("t.csv"), delimiter));
    V cells;
    TextSheet* sheet = book_.GetWorksheet(0);
    for (int32_t r = 0; r < sheet->GetTotalRows(); ++r)
      for (uint32_t c = 0; c < TextCell::kFieldCount; ++c)
        if (const std::string text = sheet->Cell(r, c)->GetString(); !text.empty())
          cells.push_back(std::to_string(r) + ":" + std::to_string(c) + ":" + text);
    return cells;
  }

  ScratchDir dir_;
  TextBook book_;
};

// UTF-16 code units as bytes, little- or big-endian, after their byte-order mark.
std::string Utf16(std::u16string units, bool big_endian) {
  std::string bytes = big_endian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t u : units) {
    const char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
    bytes += big_endian ? std::string{hi, lo} : std::string{lo, hi};
  }
  return bytes;
}

TEST_F(TextDecodingTest, EncodingIsDecidedOnceAndEveryTextIsUtf8) {
  const struct {
    const char* what;
    std::string bytes;
    TextEncoding encoding;
    V cells;
  } cases[] = {
      {"ASCII", "Opener,A12\n", TextEncoding::kUtf8, {"0:0:Opener", "0:1:A12"}},
      {"UTF-8", "Caf\xC3\xA9\n\xCE\xA3\n", TextEncoding::kUtf8, {"0:0:Café", "1:0:Σ"}},
      {"UTF-8 mark", "\xEF\xBB\xBF" "Caf\xC3\xA9\n", TextEncoding::kUtf8, {"0:0:Café"}},
      {"UTF-8 mark, then ill-formed", "\xEF\xBB\xBF" "a\xE9,\xC3\n", TextEncoding::kUtf8, {"0:0:a\uFFFD", "0:1:\uFFFD"}},
      {"Windows-1252", "Caf\xE9 del Mar,\x80 5\n", TextEncoding::kWindows1252, {"0:0:Café del Mar", "0:1:€ 5"}},
      {"1252 punctuation", "\x93q\x94 \x85 \x9F\n", TextEncoding::kWindows1252, {"0:0:“q” … Ÿ"}},
      {"1252 undefined bytes", "\x81\x8D\x8F\x90\x9D\n", TextEncoding::kWindows1252, {"0:0:\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"}},
      {"overlong UTF-8 is not UTF-8", "\xC0\xAF\n", TextEncoding::kWindows1252, {"0:0:À¯"}},
      {"encoded surrogate is not UTF-8", "\xED\xA0\x80\n", TextEncoding::kWindows1252, {"0:0:í\u00A0€"}},
      {"UTF-8 cut short is not UTF-8", "ab\xC3", TextEncoding::kWindows1252, {"0:0:abÃ"}},
      {"bytes after Ctrl-Z decide nothing", "Caf\xC3\xA9\x1A\xE9\n", TextEncoding::kUtf8, {"0:0:Café"}},
      {"1252 before Ctrl-Z", "Caf\xE9\x1A\xC3\xA9\n", TextEncoding::kWindows1252, {"0:0:Café"}},
      {"UTF-16LE", Utf16(u"Caf\u00E9,x\r\nB\u00F6se\r\n", false), TextEncoding::kUtf16LE, {"0:0:Café", "0:1:x", "1:0:Böse"}},
      {"UTF-16BE", Utf16(u"Caf\u00E9;x\n", true), TextEncoding::kUtf16BE, {"0:0:Café", "0:1:x"}},
      {"UTF-16 pair", Utf16(u"a\U0001F3B8b\n", false), TextEncoding::kUtf16LE, {"0:0:a🎸b"}},
      {"UTF-16 lone lead", Utf16(u"a\xD83Cz\n", false), TextEncoding::kUtf16LE, {"0:0:a\uFFFDz"}},
      {"UTF-16 lone trail", Utf16(u"a\xDF38z\n", true), TextEncoding::kUtf16BE, {"0:0:a\uFFFDz"}},
      {"UTF-16 odd last byte", Utf16(u"ab", false) + "c", TextEncoding::kUtf16LE, {"0:0:ab\uFFFD"}},
      {"UTF-16 Ctrl-Z unit ends it", Utf16(u"a\x1A" u"b", false), TextEncoding::kUtf16LE, {"0:0:a"}},
      {"UTF-16 byte 1A inside a unit", Utf16(u"\u011A\u1A00", false), TextEncoding::kUtf16LE, {"0:0:Ě\u1A00"}},
      {"empty", "", TextEncoding::kUtf8, {}},
      {"UTF-16 mark alone", "\xFF\xFE", TextEncoding::kUtf16LE, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Cells(c.bytes), c.cells);
    EXPECT_EQ(book_.GetEncoding(), c.encoding);
  }
}

// Decoding runs in rounds; a surrogate pair or a long run of non-ASCII bytes crosses them.
TEST_F(TextDecodingTest, LongTablesDecodeWholeAcrossConversionRounds) {
  std::u16string units = u"a";
  std::string expected = "0:0:a";
  for (int i = 0; i < 40000; ++i) units += u"\U0001F3B8", expected += "🎸";
  EXPECT_EQ(Cells(Utf16(units, false)), V{expected});

  const std::string latin(100000, '\xE9');
  std::string utf8;
  for (size_t i = 0; i < latin.size(); ++i) utf8 += "é";
  EXPECT_EQ(Cells(latin + "\n"), V{"0:0:" + utf8});
  EXPECT_EQ(book_.GetEncoding(), TextEncoding::kWindows1252);
}

TEST_F(TextDecodingTest, DelimiterComesFromTheFirstNonEmptyRecord) {
  const struct {
    const char* bytes;
    TextDelimiter delimiter;
    V cells;
  } cases[] = {
      {"a,b\tc;d\n", TextDelimiter::kComma, {"0:0:a", "0:1:b\tc;d"}},
      {"a;b\tc\n", TextDelimiter::kTab, {"0:0:a;b", "0:1:c"}},
      {"a;b c\n", TextDelimiter::kSemicolon, {"0:0:a", "0:1:b c"}},
      {"Opener\nx,y\n", TextDelimiter::kComma, {"0:0:Opener", "1:0:x", "1:1:y"}},
      {"\n\na;b\nc,d\n", TextDelimiter::kSemicolon, {"2:0:a", "2:1:b", "3:0:c,d"}},
      {"\"a,b\"\tc\n", TextDelimiter::kTab, {"0:0:a,b", "0:1:c"}},
      {"\"a,b\";c\n", TextDelimiter::kSemicolon, {"0:0:a,b", "0:1:c"}},
      {"\"a\nb,c\";d\n", TextDelimiter::kSemicolon, {"0:0:a\nb,c", "0:1:d"}},
      {"\"a;b\"\n", TextDelimiter::kComma, {"0:0:a;b"}},
      // Tab and semicolon exports leave a comma in a text unquoted: the most frequent one wins.
      {"opener\tSong\tA12\tcapo 2, slow\t110\n", TextDelimiter::kTab,
       {"0:0:opener", "0:1:Song", "0:2:A12", "0:3:capo 2, slow", "0:4:110"}},
      {"a;b, live;c\n", TextDelimiter::kSemicolon, {"0:0:a", "0:1:b, live", "0:2:c"}},
      {"a\tb;c;d\n", TextDelimiter::kSemicolon, {"0:0:a\tb", "0:1:c", "0:2:d"}},
      {"12\" Remix,Song;x\n", TextDelimiter::kComma, {"0:0:12\" Remix", "0:1:Song;x"}},  // a stray quote
      {"", TextDelimiter::kComma, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(Cells(c.bytes), c.cells);
    EXPECT_EQ(book_.GetDelimiter(), c.delimiter);
  }
}

TEST_F(TextDecodingTest, CallerMayNameTheDelimiter) {
  EXPECT_EQ(Cells("a,b\tc\n\"x\ty\"\tz\n", TextDelimiter::kTab), (V{"0:0:a,b", "0:1:c", "1:0:x\ty", "1:1:z"}));
  EXPECT_EQ(book_.GetDelimiter(), TextDelimiter::kTab);
}

TEST_F(TextDecodingTest, FailedLoadReportsNoEncodingOfTheFileBefore) {
  Cells("a;\xE9\n");
  ASSERT_EQ(book_.GetEncoding(), TextEncoding::kWindows1252);
  EXPECT_FALSE(book_.Load(dir_.File("missing.csv")));
  EXPECT_EQ(book_.GetEncoding(), TextEncoding::kUtf8);
  EXPECT_EQ(book_.GetDelimiter(), TextDelimiter::kComma);
  EXPECT_EQ(book_.GetWorksheet(0)->GetTotalRows(), 0);
}

TEST(TextFormatNames, NameWhatTheConsoleAndInspectShow) {
  EXPECT_STREQ(TextEncodingName(TextEncoding::kWindows1252), "Windows-1252");
  EXPECT_STREQ(TextEncodingName(TextEncoding::kUtf16BE), "UTF-16BE");
  EXPECT_STREQ(TextDelimiterName(TextDelimiter::kTab), "tab-separated");
  EXPECT_STREQ(TextDelimiterName(TextDelimiter::kSemicolon), "semicolon-separated");
}

}  // namespace
