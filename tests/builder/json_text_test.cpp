#include "builder/json_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Escaped(std::string_view value) {
  std::string out;
  AppendJsonString(out, value);
  return out;
}

TEST(JsonText, RecordHasTheFourMembersInOrderWithoutBlanks) {
  std::string out;
  AppendRecord(out, "Opening Song", "A12", "capo 2", "120");
  EXPECT_EQ(out, R"({"song":"Opening Song","patch":"A12","notes":"capo 2","bpm":"120"})");
  out.clear();
  AppendRecord(out, "Slow Ballad", "B07", "", "");
  EXPECT_EQ(out, R"({"song":"Slow Ballad","patch":"B07","notes":"","bpm":""})");
}

TEST(JsonText, EscapesQuotesBackslashesAndControlBytes) {
  EXPECT_EQ(Escaped(R"(say "hi")"), R"("say \"hi\"")");
  EXPECT_EQ(Escaped(R"(C:\x)"), R"("C:\\x")");
  EXPECT_EQ(Escaped("a\nb\rc\td\be\ff"), R"("a\nb\rc\td\be\ff")");
  EXPECT_EQ(Escaped(std::string("\x00\x01\x1f\x1b", 4)), R"("\u0000\u0001\u001f\u001b")");
}

TEST(JsonText, LeavesEveryOtherByteAlone) {
  EXPECT_EQ(Escaped("caf\xC3\xA9 / \x7F \xFF <&>'"), "\"caf\xC3\xA9 / \x7F \xFF <&>'\"");
  EXPECT_EQ(Escaped(""), "\"\"");
}

}  // namespace
