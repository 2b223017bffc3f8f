// The one UTF-8 encoder and validator: every length boundary, and each way a byte sequence
// can fail to be UTF-8.
#include "text/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Utf8, EncodesEveryLengthAtItsBoundaries) {
  const struct {
    char32_t code_point;
    std::string bytes;
  } cases[] = {
      {0x00, std::string(1, '\0')}, {0x7F, "\x7F"},          {0x80, "\xC2\x80"},
      {0x7FF, "\xDF\xBF"},          {0x800, "\xE0\xA0\x80"}, {0xFFFF, "\xEF\xBF\xBF"},
      {0x10000, "\xF0\x90\x80\x80"}, {0x10FFFF, "\xF4\x8F\xBF\xBF"},
      // No code point: written as U+FFFD, never as bytes that are not UTF-8.
      {0xD800, "\xEF\xBF\xBD"}, {0xDFFF, "\xEF\xBF\xBD"}, {0x110000, "\xEF\xBF\xBD"},
  };
  for (const auto& c : cases) {
    std::string out;
    AppendUtf8(out, c.code_point);
    EXPECT_EQ(out, c.bytes) << std::hex << static_cast<uint32_t>(c.code_point);
  }
}

TEST(Utf8, ValidatorAcceptsOnlyWellFormedSequences) {
  const struct {
    const char* bytes;
    bool valid;
  } cases[] = {
      {"", true},
      {"plain ASCII", true},
      {"Caf\xC3\xA9 \xE6\x97\xA5 \xF0\x9F\x8E\xB8", true},
      {"Caf\xE9", false},                 // Latin-1
      {"\xC0\xAF", false},                // overlong "/"
      {"\xE0\x80\xAF", false},            // overlong, three bytes
      {"\xED\xA0\x80", false},            // a surrogate
      {"\xF4\x90\x80\x80", false},        // past U+10FFFF
      {"\xE6\x97", false},                // cut short at the end
      {"\x80", false},                    // a lone continuation byte
      {"\xF5\x80\x80\x80", false},        // a lead byte that never starts a sequence
  };
  for (const auto& c : cases) EXPECT_EQ(IsUtf8(c.bytes), c.valid) << c.bytes;
}

// ASCII is copied as it is; every byte from the first one past it is encoded, wherever it lies.
TEST(Utf8, Latin1BecomesUtf8WhereverTheFirstHighByteLies) {
  const struct {
    std::string latin1, utf8;
  } cases[] = {
      {"", ""},
      {"song00001", "song00001"},
      {"\xE9t\xE9", "\xC3\xA9t\xC3\xA9"},
      {"Caf\xE9", "Caf\xC3\xA9"},
      {"Caf\xE9 au lait \xFF", "Caf\xC3\xA9 au lait \xC3\xBF"},
      {std::string("a\0\x80", 3), std::string("a\0\xC2\x80", 4)},
  };
  for (const auto& c : cases) EXPECT_EQ(Latin1ToUtf8(c.latin1), c.utf8) << c.latin1;
}

}  // namespace
