// tallyform-cli build with the examples of every kind, run as a process: each combination a
// newcomer can pick builds the document of the text tables, the ones that stay invalid say
// so, and a workbook chosen twice stops at the setlist.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/cli/cli_runner.h"
#include "tests/support/files.h"

namespace {

using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::WriteFile;

class WorkbookBuildCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string examples = std::string(TALLYFORM_SOURCE_DIR) + "/examples/";
    for (const char* name : {"setlist.csv", "setlist.txt", "setlist.xls", "setlist.xlsx", "settings.csv",
                             "settings.xls", "settings.xlsx", "settings.ods"}) {
      WriteFile(dir_.File(name), ReadFile(examples + name));
    }
  }
  // The run and the document it wrote (none: "").
  std::pair<CliRun, std::string> Build(const std::string& setlist, const std::string& settings) {
    const std::string json = dir_.File(setlist.substr(0, setlist.rfind('.')) + ".json");
    ::unlink(json.c_str());
    CliRun run = RunCli({"build", setlist, settings}, dir_.path());
    return {run, ReadFile(json)};
  }
  ScratchDir dir_;
};

TEST_F(WorkbookBuildCommandTest, EveryExampleCombinationBuildsTheTextTablesDocument) {
  const auto [csv_run, csv_json] = Build("setlist.csv", "settings.csv");
  ASSERT_EQ(csv_run.exit_code, 0);
  const auto [txt_run, txt_json] = Build("setlist.txt", "settings.csv");
  ASSERT_EQ(txt_run.exit_code, 0);
  ASSERT_NE(csv_json, txt_json);
  const std::string csv_out = csv_run.out, txt_out = txt_run.out;
  for (const char* setlist : {"setlist.csv", "setlist.txt", "setlist.xls", "setlist.xlsx"}) {
    const bool text = std::string(setlist) == "setlist.txt";
    for (const char* settings : {"settings.xls", "settings.xlsx", "settings.ods"}) {
      SCOPED_TRACE(std::string(setlist) + " " + settings);
      const auto [run, json] = Build(setlist, settings);
      EXPECT_EQ(run.exit_code, 0);
      EXPECT_EQ(run.err, "");
      EXPECT_EQ(json, text ? txt_json : csv_json);
      EXPECT_EQ(run.out, text ? txt_out : csv_out);
    }
  }
}

TEST_F(WorkbookBuildCommandTest, InvalidCombinationsAndOneWorkbookTwice) {
  WriteFile(dir_.File("SETLIST.XLSX"), ReadFile(dir_.File("setlist.xlsx")));
  WriteFile(dir_.File("SETTINGS.ODS"), ReadFile(dir_.File("settings.ods")));
  for (const auto& [setlist, settings] : std::vector<std::pair<std::string, std::string>>{
           {"setlist.xlsx", "settings.csv"}, {"setlist.xlsx", "setlist.txt"}, {"SETLIST.XLSX", "settings.xlsx"},
           {"setlist.csv", "SETTINGS.ODS"}, {"setlist.xls", "SETTINGS.ODS"}}) {
    SCOPED_TRACE(setlist + " " + settings);
    const auto [run, json] = Build(setlist, settings);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.out, "Invalid combination of file-types ...\n");
    EXPECT_EQ(json, "");
  }
  for (const char* both : {"settings.xlsx", "settings.ods"}) {
    const auto [run, json] = Build(both, both);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.out, std::string("Error opening setlist file...\n") + both + "\n");
    EXPECT_EQ(json, "");
  }
}

}  // namespace
