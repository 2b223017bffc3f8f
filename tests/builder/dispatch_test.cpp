#include "builder/dispatch.h"

#include <gtest/gtest.h>

#include "tests/support/files.h"
#include "tests/support/recording_console.h"

namespace {

TEST(Dispatch, TwoTextTablesBuildFromText) {
  for (const char* setlist : {"csv", "txt", "tsv"}) {
    for (const char* settings : {"csv", "txt", "tsv"}) {
      EXPECT_EQ(ChooseBuild(setlist, settings), BuildKind::FromText) << setlist << " " << settings;
    }
  }
}

TEST(Dispatch, AnXlsSettingsTableComesWithAnXlsOrTextSetlist) {
  EXPECT_EQ(ChooseBuild("xls", "xls"), BuildKind::Index);
  EXPECT_EQ(ChooseBuild("csv", "xls"), BuildKind::Hybrid);
  EXPECT_EQ(ChooseBuild("txt", "xls"), BuildKind::Hybrid);
  EXPECT_EQ(ChooseBuild("tsv", "xls"), BuildKind::Hybrid);
}

TEST(Dispatch, EverythingElseIsInvalid) {
  for (const auto& [setlist, settings] : std::vector<std::pair<std::string, std::string>>{
           {"CSV", "csv"}, {"csv", "TXT"}, {"XLS", "XLS"}, {"xls", "csv"}, {"xls", "txt"},
           {"json", "csv"}, {"csv", "json"}, {"", "csv"}, {"csv ", "csv"},
           {"xls", "XLS"}, {"XLS", "xls"}, {"csv", "XLS"}, {"xls ", "xls"},
           {"xls", "tsv"}, {"TSV", "tsv"}, {"tsv", "Tsv"}}) {
    EXPECT_EQ(ChooseBuild(setlist, settings), BuildKind::Invalid) << setlist << " " << settings;
  }
}

// Every workbook kind is a settings table for a workbook or text setlist, mixed as they come;
// a workbook setlist never goes with text settings, and case still matters.
TEST(Dispatch, WorkbookKindsMixFreely) {
  const struct {
    const char* setlist;
    const char* settings;
    BuildKind build;
  } cases[] = {
      {"xlsx", "xlsx", BuildKind::Index},    {"xlsm", "ods", BuildKind::Index},
      {"ods", "ods", BuildKind::Index},      {"xlsx", "xls", BuildKind::Index},
      {"xls", "ods", BuildKind::Index},      {"ods", "xlsm", BuildKind::Index},
      {"csv", "ods", BuildKind::Hybrid},     {"txt", "xlsx", BuildKind::Hybrid},
      {"csv", "xlsm", BuildKind::Hybrid},    {"xlsx", "csv", BuildKind::Invalid},
      {"ods", "txt", BuildKind::Invalid},    {"xlsm", "csv", BuildKind::Invalid},
      {"XLSX", "xlsx", BuildKind::Invalid},  {"xlsx", "XLSX", BuildKind::Invalid},
      {"csv", "ODS", BuildKind::Invalid},    {"xlsb", "xlsx", BuildKind::Invalid},
      {"csv", "fods", BuildKind::Invalid},
  };
  for (const auto& c : cases) EXPECT_EQ(ChooseBuild(c.setlist, c.settings), c.build) << c.setlist << " " << c.settings;
}

TEST(Dispatch, ExtensionIsAfterTheLastDotOrTheWholePath) {
  EXPECT_EQ(FileExtension("C:/Shows/Tour.csv"), "csv");
  EXPECT_EQ(FileExtension("/a.b/c.tar.txt"), "txt");
  EXPECT_EQ(FileExtension("/shows/list"), "/shows/list");
  EXPECT_EQ(FileExtension("/my.shows/list"), "shows/list");
  EXPECT_EQ(FileExtension("list."), "");
}

TEST(Dispatch, JsonPathReplacesFromTheLastDot) {
  EXPECT_EQ(DeriveJsonPath("C:/Shows/Tour.xls"), "C:/Shows/Tour.json");
  EXPECT_EQ(DeriveJsonPath("/home/me/set.list.csv"), "/home/me/set.list.json");
  EXPECT_EQ(DeriveJsonPath("C:/my.shows/list"), "C:/my.json");
  EXPECT_EQ(DeriveJsonPath("list."), "list.json");
  EXPECT_EQ(DeriveJsonPath("/shows/list"), std::nullopt);
  EXPECT_EQ(DeriveJsonPath(""), std::nullopt);
}

TEST(Dispatch, RunChosenBuildRunsTheTextBuildAndLeavesInvalidOnesToTheCaller) {
  testing_support::ScratchDir dir;
  testing_support::WriteFile(dir.File("s.TXT"), "a\n");
  testing_support::WriteFile(dir.File("s.csv"), "a\n");
  testing_support::WriteFile(dir.File("t.txt"), "a,A,P,,\n");
  testing_support::RecordingConsole console;

  EXPECT_EQ(RunChosenBuild({dir.File("s.TXT"), dir.File("t.txt"), dir.File("s.json")}, console),
            BuildOutcome::InvalidCombination);
  EXPECT_TRUE(console.lines.empty());
  EXPECT_EQ(RunChosenBuild({dir.File("s.csv"), dir.File("t.txt"), dir.File("s.json")}, console),
            BuildOutcome::Written);
  EXPECT_EQ(testing_support::ReadFile(dir.File("s.json")),
            R"([{"song":"A","patch":"P","notes":"","bpm":""}])");
}

}  // namespace
