// tallyform-cli's help, usage errors and version as a shell sees them, and the manual page
// kept in step with the commands the program offers.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "tests/cli/cli_runner.h"
#include "tests/support/files.h"

namespace {

using testing_support::ReadFile;

const std::vector<std::string> kCommands{"build", "upload", "inspect"};

CliRun RunHere(const std::vector<std::string>& args) { return RunCli(args, TALLYFORM_BINARY_DIR); }

TEST(CliHelp, VersionIsTheProjectVersion) {
  std::smatch match;
  const std::string cmake = ReadFile(std::string(TALLYFORM_SOURCE_DIR) + "/CMakeLists.txt");
  ASSERT_TRUE(std::regex_search(cmake, match, std::regex(R"(project\(Tallyform VERSION ([0-9.]+))")));
  const CliRun run = RunHere({"--version"});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out, "tallyform-cli " + match[1].str() + "\n");
  EXPECT_EQ(run.err, "");
}

// Asked-for help goes to standard output and succeeds, whichever way it is asked.
TEST(CliHelp, AskedForHelpPrintsTheRightText) {
  struct Case {
    std::vector<std::string> args;
    std::string starts;
  };
  const std::vector<Case> cases{
      {{"help"}, "usage: tallyform-cli COMMAND"},
      {{"--help"}, "usage: tallyform-cli COMMAND"},
      {{"-h"}, "usage: tallyform-cli COMMAND"},
      {{"help", "build"}, "usage: tallyform-cli build SETLIST SETTINGS\n"},
      {{"help", "upload"}, "usage: tallyform-cli upload JSON"},
      {{"help", "inspect"}, "usage: tallyform-cli inspect [--stream] FILE\n"},
      {{"inspect", "--help"}, "usage: tallyform-cli inspect"},
      {{"inspect", "missing.xls", "-h"}, "usage: tallyform-cli inspect"},
      {{"upload", "a.json", "--help"}, "usage: tallyform-cli upload"},
  };
  for (const Case& c : cases) {
    const CliRun run = RunHere(c.args);
    EXPECT_EQ(run.exit_code, 0) << c.args.back();
    EXPECT_EQ(run.out.rfind(c.starts, 0), 0u) << c.args.back() << ": " << run.out;
    EXPECT_NE(run.out.find("2 for a usage error"), std::string::npos) << c.args.back();
    EXPECT_EQ(run.err, "") << c.args.back();
  }
  // Both ways of asking about a command give the same text.
  for (const std::string& command : kCommands) {
    EXPECT_EQ(RunHere({"help", command}).out, RunHere({command, "--help"}).out) << command;
  }
}

TEST(CliHelp, UsageErrorsExitTwoOnStandardError) {
  struct Case {
    std::vector<std::string> args;
    std::string starts;
  };
  const std::vector<Case> cases{
      {{}, "usage: tallyform-cli COMMAND"},
      {{"frobnicate"}, "tallyform-cli: unknown command 'frobnicate'\n"},
      {{"--verbose"}, "tallyform-cli: unknown command '--verbose'\n"},
      {{"help", "frobnicate"}, "tallyform-cli help: no command 'frobnicate'\n"},
      {{"help", "build", "upload"}, "tallyform-cli help: help takes one command\n"},
      {{"inspect"}, "usage: tallyform-cli inspect"},
      {{"inspect", "a.xls", "b.xls"}, "usage: tallyform-cli inspect"},
  };
  for (const Case& c : cases) {
    const CliRun run = RunHere(c.args);
    const std::string shown = c.args.empty() ? "(none)" : c.args.back();
    EXPECT_EQ(run.exit_code, 2) << shown;
    EXPECT_EQ(run.out, "") << shown;
    EXPECT_EQ(run.err.rfind(c.starts, 0), 0u) << shown << ": " << run.err;
  }
}

// Each command the program lists has its section in the manual page, and so do the exit codes.
TEST(CliHelp, ManualPageCoversEveryCommand) {
  const std::string page = ReadFile(std::string(TALLYFORM_SOURCE_DIR) + "/docs/tallyform-cli.1");
  const std::string help = RunHere({"help"}).out;
  for (const std::string& command : kCommands) {
    EXPECT_NE(help.find("\n  " + command + " "), std::string::npos) << command;
    EXPECT_NE(page.find("\n.SS \"" + command + " "), std::string::npos) << command;
  }
  EXPECT_NE(page.find("\n.B \\-\\-version\n"), std::string::npos);
  for (const char* code : {"\n.B 0\n", "\n.B 1\n", "\n.B 2\n"}) EXPECT_NE(page.find(code), std::string::npos);
}

}  // namespace
