// tallyform-cli build with .xls tables, run as a process: the example workbooks in every
// combination, the invalid ones, and a stop that an .xls file brings.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/support/files.h"
#include "tests/cli/cli_runner.h"
#include "xls/xls_book.h"

namespace {

using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::WriteFile;

class XlsBuildCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string examples = std::string(TALLYFORM_SOURCE_DIR) + "/examples/";
    for (const char* name : {"setlist.csv", "setlist.txt", "settings.csv", "setlist.xls", "settings.xls"}) {
      WriteFile(dir_.File(name), ReadFile(examples + name));
    }
  }
  ScratchDir dir_;
};

TEST_F(XlsBuildCommandTest, ExampleWorkbooksBuildLikeTheirTextForms) {
  ASSERT_EQ(RunCli({"build", "setlist.csv", "settings.csv"}, dir_.path()).exit_code, 0);
  const std::string expected = ReadFile(dir_.File("setlist.json"));
  const std::string console =
      "Building JSON file ...\n"
      "No setting for: encore medley\n"
      "File created...total records = 5\n"
      "setlist.json\n";
  for (const char* setlist : {"setlist.xls", "setlist.csv"}) {
    ::unlink(dir_.File("setlist.json").c_str());
    const CliRun run = RunCli({"build", setlist, "settings.xls"}, dir_.path());
    EXPECT_EQ(run.exit_code, 0) << setlist;
    EXPECT_EQ(run.out, console) << setlist;
    EXPECT_EQ(ReadFile(dir_.File("setlist.json")), expected) << setlist;
  }
  const CliRun txt = RunCli({"build", "setlist.txt", "settings.xls"}, dir_.path());
  EXPECT_EQ(txt.exit_code, 0);
  EXPECT_EQ(txt.out.rfind("Building JSON file ...\nFile created...total records = 3\n", 0), 0u) << txt.out;
}

TEST_F(XlsBuildCommandTest, InvalidCombinationsAndStops) {
  for (const auto& [setlist, settings] : std::vector<std::pair<std::string, std::string>>{
           {"setlist.xls", "settings.csv"}, {"setlist.xls", "settings.txt"}, {"setlist.XLS", "settings.xls"},
           {"setlist.csv", "settings.XLS"}}) {
    const CliRun run = RunCli({"build", setlist, settings}, dir_.path());
    EXPECT_EQ(run.exit_code, 1) << setlist << " " << settings;
    EXPECT_EQ(run.out, "Invalid combination of file-types ...\n") << setlist << " " << settings;
  }
  const CliRun same = RunCli({"build", "settings.xls", "settings.xls"}, dir_.path());
  EXPECT_EQ(same.exit_code, 1);
  EXPECT_EQ(same.out, "Error opening setlist file...\nsettings.xls\n");
  WriteFile(dir_.File("plain.xls"), "intro,Intro Jam,A01,,96\n");
  const CliRun text = RunCli({"build", "setlist.csv", "plain.xls"}, dir_.path());
  EXPECT_EQ(text.exit_code, 1);
  EXPECT_EQ(text.out, "Error opening settings file...\nplain.xls\n");
  EXPECT_NE(::access(dir_.File("setlist.json").c_str(), F_OK), 0);
}

// Another program holding the workbook (here this test process) stops the build.
TEST_F(XlsBuildCommandTest, AWorkbookHeldByAnotherProcessStops) {
  {
    Xls::XlsBook holder;
    ASSERT_TRUE(holder.Load(dir_.File("setlist.xls")));
    const CliRun held = RunCli({"build", "setlist.xls", "settings.xls"}, dir_.path());
    EXPECT_EQ(held.exit_code, 1);
    EXPECT_EQ(held.out, "Error opening setlist file...\nsetlist.xls\n");
  }
  EXPECT_EQ(RunCli({"build", "setlist.xls", "settings.xls"}, dir_.path()).exit_code, 0);
}

}  // namespace
