// Shared by the hostile-input tests: paths of the committed hostile files, a build run through
// a recording console with an earlier document in place, the check that the build ended
// cleanly (a two-line stop with one of its messages, or a written document), and a guard
// that runs a step in a child process so a hang fails the test instead of stalling it.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <string>
#include <vector>

#include "builder/build.h"
#include "builder/build_messages.h"
#include "tests/support/files.h"
#include "tests/support/recording_console.h"

namespace hostile {

inline std::string DataFile(const std::string& name) {
  return std::string(TALLYFORM_SOURCE_DIR) + "/tests/hostile/data/" + name;
}

inline const char kEarlier[] = "[{\"earlier\":\"document\"}]";
inline const char kGoodSetlist[] = "Intro\nEncore\n";
inline const char kGoodSettings[] = "Intro,Intro,P1,,120\nEncore,Encore,P2,,96\n";

using BuildFn = bool (*)(const BuildPaths&, Console&);

// One build over the given tables with an earlier document at the output path.
struct BuildRun {
  bool stopped = false;
  std::vector<testing_support::Line> lines;
  std::string document;  // the output file afterwards
};

inline BuildRun RunBuild(BuildFn build, const BuildPaths& paths) {
  testing_support::WriteFile(paths.json_file, kEarlier);
  testing_support::RecordingConsole console;
  BuildRun run;
  run.stopped = build(paths, console);
  run.lines = console.lines;
  run.document = testing_support::ReadFile(paths.json_file);
  return run;
}

// A stop is exactly the red message on a cleared console and the path in black, with the
// earlier document untouched; otherwise the build must have written a document and said so.
inline void ExpectCleanOutcome(const BuildRun& run, const BuildPaths& paths) {
  namespace msg = build_messages;
  if (run.stopped) {
    ASSERT_EQ(run.lines.size(), 2u);
    const std::string& m = run.lines[0].text;
    EXPECT_TRUE(m == msg::kSettingsOpen || m == msg::kSetlistOpen || m == msg::kSettingsSheet ||
                m == msg::kNoSettingsRecords || m == msg::kNoSetlistSheets)
        << m;
    EXPECT_EQ(run.lines[0].colour, RED);
    EXPECT_TRUE(run.lines[0].clear);
    EXPECT_TRUE(run.lines[1].text == paths.settings_file || run.lines[1].text == paths.setlist_file)
        << run.lines[1].text;
    EXPECT_EQ(run.lines[1].colour, BLACK);
    EXPECT_EQ(run.document, kEarlier);
  } else {
    ASSERT_GE(run.lines.size(), 3u);
    EXPECT_EQ(run.lines.front().text, msg::kBuilding);
    EXPECT_EQ(run.lines[run.lines.size() - 2].text.rfind(msg::kCreated, 0), 0u);
    EXPECT_EQ(run.document.front(), '[');
    EXPECT_EQ(run.document.back(), ']');
  }
}

inline void ExpectStop(const BuildRun& run, const char* message, const std::string& path) {
  ASSERT_TRUE(run.stopped);
  const std::vector<testing_support::Line> expected{{message, RED, true}, {path, BLACK, false}};
  EXPECT_EQ(run.lines, expected);
  EXPECT_EQ(run.document, kEarlier);
}

// Runs `step` in a child killed after `seconds`; true when it returned true in time.
inline bool FinishesWithin(unsigned seconds, const std::function<bool()>& step) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::alarm(seconds);
    ::_exit(step() ? 0 : 1);
  }
  int status = 0;
  if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace hostile
