// The companion's buffered console: the same bytes in the same order as line by line, in
// whole lines, and written when it fills, on Flush, at its end, or after every line when asked.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/stdout_console.h"

namespace {

struct Writes {
  std::vector<std::string> calls;
  StdoutConsole::Sink Sink() {
    return [this](std::string_view bytes) { calls.emplace_back(bytes); };
  }
  std::string All() const {
    std::string all;
    for (const std::string& c : calls) all += c;
    return all;
  }
};

TEST(StdoutConsoleTest, WritesWholeLinesWhenFullOnFlushAndAtItsEnd) {
  const std::string longest(StdoutConsole::kBufferBytes + 10, 'x');
  const struct {
    const char* what;
    std::vector<std::string> lines;
    size_t writes_before_flush;
  } cases[] = {
      {"a few lines wait for the flush", {"Building JSON file ...", "", "File created...total records = 2"}, 0},
      {"ten thousand lines fill the buffer a few times", std::vector<std::string>(10000, "No setting for: x"), 2},
      {"a line longer than the buffer goes alone, after those before it", {"before", longest, "after"}, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Writes writes;
    std::string expected;
    {
      StdoutConsole console(writes.Sink(), false, StdoutConsole::Flushing::kWhenFull);
      for (const std::string& line : c.lines) {
        console.string_to_textbox(line, RED, false);
        expected += line + "\n";
      }
      EXPECT_EQ(writes.calls.size(), c.writes_before_flush);
      console.Flush();
      console.string_to_textbox("at the end", GREEN, true);
      expected += "at the end\n";
    }
    EXPECT_EQ(writes.All(), expected);
    for (const std::string& call : writes.calls) {
      EXPECT_EQ(call.back(), '\n');
      EXPECT_TRUE(call.size() <= StdoutConsole::kBufferBytes || call == longest + "\n") << call.size();
    }
  }
}

TEST(StdoutConsoleTest, EachLineModeWritesEveryLineAtOnce) {
  Writes writes;
  StdoutConsole console(writes.Sink(), false, StdoutConsole::Flushing::kEachLine);
  console.string_to_textbox("Connecting to QB-7!!", BLUE, false);
  EXPECT_EQ(writes.calls, std::vector<std::string>{"Connecting to QB-7!!\n"});
  console.string_to_textbox("Sending JSON file to QB-7!!", BLUE, false);
  EXPECT_EQ(writes.calls.size(), 2u);
}

TEST(StdoutConsoleTest, TerminalLinesCarryTheirColour) {
  Writes writes;
  {
    StdoutConsole console(writes.Sink(), true, StdoutConsole::Flushing::kWhenFull);
    console.string_to_textbox("progress", BLUE, false);
    console.string_to_textbox("keeps blue", static_cast<COLORBOX>(5), false);
    console.string_to_textbox(std::string("cut\0here", 8), RED, false);
    console.string_to_textbox("done", GREEN, false);
    console.string_to_textbox("/shows/set.json", BLACK, false);
  }
  EXPECT_EQ(writes.All(),
            "\033[34mprogress\033[0m\n\033[34mkeeps blue\033[0m\n\033[31mcut\033[0m\n"
            "\033[32mdone\033[0m\n\033[0m/shows/set.json\033[0m\n");
}

}  // namespace
