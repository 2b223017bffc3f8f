// Paths between the window's UTF-16 and the 8-bit file operations: non-Latin names must reach
// the right file, and broken input must come back as U+FFFD, never as a crash or a wrong byte.
#include <gtest/gtest.h>

#include "app/my_form.h"
#include "app/text_codec.h"

namespace {

TEST(TextCodecTest, NonLatinPathsBecomeUtf8AndComeBack) {
  const QString paths[] = {
      QString::fromUtf8("/home/performer/Café/Tour.xls"),
      QString::fromUtf8("/home/performer/Шоу/Тур 2026.csv"),
      QString::fromUtf8("/home/performer/ライブ/セット.txt"),
      QString::fromUtf8("/home/performer/🎸 rock/set.csv"),  // outside the BMP: a surrogate pair
      QString::fromUtf8("/home/Ŝ/list.csv"),                  // U+015C: its low byte is a backslash
  };
  for (const QString& path : paths) {
    SCOPED_TRACE(path.toStdString());
    const std::string eight = str16_to_str8(path);
    EXPECT_EQ(eight, path.toUtf8().toStdString());
    EXPECT_EQ(str8_to_str16(eight), path);
  }
  EXPECT_EQ(str16_to_str8(QString::fromUtf8("é")), "\xC3\xA9");
  EXPECT_EQ(str16_to_str8(QString::fromUtf8("Ŝ")), "\xC5\x9C");
}

TEST(TextCodecTest, BackslashIsASeparatorOnlyWhereThePlatformSaysSo) {
  EXPECT_EQ(Utf16ToUtf8(u"C:\\Shows\\Tour.xls", true), "C:/Shows/Tour.xls");
  EXPECT_EQ(Utf16ToUtf8(u"C:\\Shows\\Tour.xls", false), "C:\\Shows\\Tour.xls");
#ifndef _WIN32
  EXPECT_EQ(str16_to_str8(QString("/shows/a\\b.csv")), "/shows/a\\b.csv");
#endif
}

TEST(TextCodecTest, UnpairedSurrogatesBecomeReplacementCharacters) {
  const std::u16string lone_high = {u'a', char16_t(0xD83C), u'b'};
  const std::u16string lone_low = {char16_t(0xDFB8)};
  const std::u16string high_at_end = {u'x', char16_t(0xD83C)};
  EXPECT_EQ(Utf16ToUtf8(lone_high, false), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(Utf16ToUtf8(lone_low, false), "\xEF\xBF\xBD");
  EXPECT_EQ(Utf16ToUtf8(high_at_end, false), "x\xEF\xBF\xBD");
}

TEST(TextCodecTest, InvalidUtf8BecomesReplacementCharacters) {
  struct Case {
    std::string in;
    std::u16string out;
  };
  const Case cases[] = {
      {"caf\xE9.csv", u"caf\uFFFD.csv"},      // a Latin-1 byte is not UTF-8
      {"\xC0\xAF", u"\uFFFD\uFFFD"},          // overlong "/"
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},  // an encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
      {"\xE2\x82", u"\uFFFD"},                // cut off at the end: one replacement
      {"\xE2\x82x", u"\uFFFDx"},              // cut off before an ASCII byte, which survives
      {"\x80\xBF", u"\uFFFD\uFFFD"},          // stray continuation bytes
      {"\xFF", u"\uFFFD"},
      {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},  // NUL bytes are kept by length
      {"\xF0\x9F\x8E\xB8", u"\U0001F3B8"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(Utf8ToUtf16(c.in), c.out);
  }
}

TEST(TextCodecTest, TheWindowsMembersUseTheSameRules) {
  std::string eight = "overwritten";
  MyForm::str16_to_str8(QString::fromUtf8("/Шоу/x.csv"), eight);
  EXPECT_EQ(eight, "/Шоу/x.csv");
  QString sixteen = "overwritten";
  MyForm::str8_to_str16(sixteen, std::string("/Шоу/\xFF.json"));
  EXPECT_EQ(sixteen, QString::fromUtf8("/Шоу/\uFFFD.json"));
}

}  // namespace
