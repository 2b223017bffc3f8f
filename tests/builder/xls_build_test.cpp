// create_index_file and create_hybrid_file end to end over the workbooks that
// scripts/make-build-fixtures writes: the header row, worksheets in order, every kind of cell
// in every column, text stored 8-bit and 16-bit, tempos, and the files the build cannot open.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "builder/build.h"
#include "builder/build_messages.h"
#include "builder/dispatch.h"
#include "tests/support/files.h"
#include "tests/support/build_console.h"
#include "tests/support/build_fixture.h"
#include "xls/xls_book.h"

namespace {

namespace msg = build_messages;
using testing_support::Line;
using testing_support::Lines;
using testing_support::StopLines;
using testing_support::SuccessLines;
using testing_support::ReadFile;
using testing_support::RecordingConsole;
using testing_support::ScratchDir;
using testing_support::WriteFile;

std::string Fixture(const std::string& name) {
  return ReadFile(std::string(TALLYFORM_SOURCE_DIR) + "/tests/builder/data/" + name);
}

std::string Record(const std::string& song, const std::string& patch, const std::string& notes,
                   const std::string& bpm) {
  return R"({"song":")" + song + R"(","patch":")" + patch + R"(","notes":")" + notes +
         R"(","bpm":")" + bpm + R"("})";
}

std::string Document(const std::vector<std::string>& records) {
  std::string out = "[";
  for (size_t i = 0; i < records.size(); ++i) out += (i ? "," : "") + records[i];
  return out + "]";
}

class XlsBuildTest : public testing_support::BuildFixture {
 protected:
  std::string PutFixture(const std::string& name) { return Put(name, Fixture(name)); }
  static Lines Stop(const char* message, const std::string& path) { return StopLines(message, path); }
};

// Every kind of cell in every column, two setlist worksheets, the header row never matched.
TEST_F(XlsBuildTest, IndexBuildReadsEveryKindOfCell) {
  const std::string settings = PutFixture("settings.xls");
  EXPECT_EQ(Build(PutFixture("setlist.xls"), settings), BuildOutcome::Written);
  const std::string creme = Record("Crème Brûlée", "Ü1", "naïve", "96");  // stored 8-bit
  EXPECT_EQ(Json(), Document({
                        // worksheet "Set 1"; its row 0 "Name" equals the settings header
                        Record("Opening Song", "A12", "capo 2", "120"),
                        Record("Opening Song (alt)", "A13", "", "121"),
                        Record("Slow Ballad", "B07", "", ""),
                        Record("Fraction", "C01", "", "98"),
                        Record("Negative", "C02", "", "-3"),
                        creme,  // "CAFÉ" and "café" both match "Café": case folds in every script
                        creme,
                        // worksheet "Set 2"
                        Record("Text Tempo", "C03", "", "120"),
                        Record("Bad Tempo", "C04", "", ""),
                        creme,
                        Record("日本語の歌", "Ω7", "🎸 solo", "72"),  // stored 16-bit
                        Record("3.25", "7", "12345678901", "1"),  // numbers and a Boolean
                        Record("1", "0", "", "0"),                // Booleans, an error note
                        Record("", "", "", ""),                   // errors everywhere
                        Record("Huge", "H1", "", ""),             // 3e9 leaves 32 bits
                    }));
  EXPECT_EQ(console_.lines, Success({{"No setting for: name", RED, false},
                                     {"Invalid tempo for: badtempo", RED, false},
                                     {"Invalid tempo for: huge", RED, false},
                                     {"No setting for: encore", RED, false},
                                     {"No setting for: 1", RED, false}},  // TRUE; the error row is empty
                                    15));
}

// Chart sheets and embedded charts are passed over: the settings come from the first
// worksheet behind a chart sheet, the setlist from both worksheets around one.
TEST_F(XlsBuildTest, ChartsAmongTheSheetsHideNoWorksheet) {
  const std::string settings = PutFixture("charts-settings.xls");
  EXPECT_EQ(Build(PutFixture("charts-setlist.xls"), settings), BuildOutcome::Written);
  EXPECT_EQ(Json(), Document({Record("Opening Song", "A12", "capo 2", "120"),
                              Record("After Chart", "C3", "", "90"),
                              Record("Closing Song", "Z9", "", "140")}));
  EXPECT_EQ(console_.lines, Success({{"No setting for: encore", RED, false}}, 3));
}

TEST_F(XlsBuildTest, FormulaNamesInTheSetlistReadAsTheirResults) {
  const std::string settings = PutFixture("formulas.xls");
  EXPECT_EQ(Build(PutFixture("setlist-formulas.xls"), settings), BuildOutcome::Written);
  EXPECT_EQ(Json(), Document({Record("S4", "P4", "", "1")}));
  // A number, a Boolean, and an error result, whose name is empty but still an entry.
  EXPECT_EQ(console_.lines, Success({{"No setting for: 1999", RED, false},
                                     {"No setting for: 1", RED, false},
                                     {"No setting for: ", RED, false}},
                                    1));
}

TEST_F(XlsBuildTest, HybridBuildReadsTheTextSetlistFromRowZeroAndFormulaResults) {
  const std::string settings = PutFixture("formulas.xls");
  const std::string setlist = Put("tour.csv", "Formula\ntexttempo\nerrtempo\nbooltempo\nabctempo\nName\n");
  EXPECT_EQ(Build(setlist, settings), BuildOutcome::Written);
  EXPECT_EQ(Json(), Document({Record("Song F", "3", "1", "98"),   // text, number, TRUE, 98.6
                              Record("", "", "0", "120"),         // #DIV/0!, "", FALSE, " 120 bpm"
                              Record("Café", "-3.5", "", ""),     // 8-bit text, -3.5, #N/A
                              Record("S4", "P4", "", "1"),        // TRUE tempo
                              Record("S5", "P5", "", "")}));      // text "abc" tempo
  EXPECT_EQ(console_.lines, Success({{"Invalid tempo for: errtempo", RED, false},
                                     {"Invalid tempo for: abctempo", RED, false},
                                     {"No setting for: name", RED, false}},
                                    5));
  // A .txt setlist takes the same road.
  const std::string txt = Put("tour.txt", "booltempo\n");
  EXPECT_EQ(Build(txt, settings), BuildOutcome::Written);
  EXPECT_EQ(Json(), Document({Record("S4", "P4", "", "1")}));
  // A tab-separated setlist is named; a workbook never is.
  const std::string tsv = Put("tour.tsv", "booltempo\tignored\n");
  EXPECT_EQ(Build(tsv, settings), BuildOutcome::Written);
  EXPECT_EQ(Json(), Document({Record("S4", "P4", "", "1")}));
  EXPECT_EQ(console_.lines, Success({{"Reading " + tsv + " as tab-separated", BLUE, false}}, 1));
}

TEST_F(XlsBuildTest, HeaderOnlySettingsMatchNothingButBuild) {
  const std::string settings = PutFixture("header-only.xls");
  EXPECT_EQ(Build(Put("set.csv", "Name\nOpener\n"), settings), BuildOutcome::Written);
  EXPECT_EQ(Json(), "[]");
  EXPECT_EQ(console_.lines, Success({{"No setting for: name", RED, false},
                                     {"No setting for: opener", RED, false}},
                                    0));
}

TEST_F(XlsBuildTest, OneFileForBothTablesStopsAtTheSetlist) {
  const std::string both = PutFixture("settings.xls");
  EXPECT_EQ(Build(both, both), BuildOutcome::Stopped);
  EXPECT_EQ(console_.lines, Stop(msg::kSetlistOpen, both));
  EXPECT_FALSE(JsonExists());
  // Both workbooks let go when the build returns: the file opens again.
  Xls::XlsBook after;
  EXPECT_TRUE(after.Load(both));
}

TEST_F(XlsBuildTest, AHeldFileStopsTheBuild) {
  const std::string settings = PutFixture("settings.xls");
  const std::string setlist = PutFixture("setlist.xls");
  {
    Xls::XlsBook holder;
    ASSERT_TRUE(holder.Load(settings));
    EXPECT_EQ(Build(setlist, settings), BuildOutcome::Stopped);
    EXPECT_EQ(console_.lines, Stop(msg::kSettingsOpen, settings));
  }
  {
    Xls::XlsBook holder;
    ASSERT_TRUE(holder.Load(setlist));
    EXPECT_EQ(Build(setlist, settings), BuildOutcome::Stopped);
    EXPECT_EQ(console_.lines, Stop(msg::kSetlistOpen, setlist));
  }
  EXPECT_FALSE(JsonExists());
  EXPECT_EQ(Build(setlist, settings), BuildOutcome::Written);
}

TEST_F(XlsBuildTest, FilesThatAreNotWorkbooksStop) {
  const std::string settings = PutFixture("settings.xls");
  const std::string text_settings = Put("text.xls", "opener,Opening Song,A12,,120\n");
  const std::string text_setlist = Put("list.xls", "opener\n");
  EXPECT_EQ(Build(Put("set.csv", "opener\n"), text_settings), BuildOutcome::Stopped);
  EXPECT_EQ(console_.lines, Stop(msg::kSettingsOpen, text_settings));
  EXPECT_EQ(Build(text_setlist, settings), BuildOutcome::Stopped);
  EXPECT_EQ(console_.lines, Stop(msg::kSetlistOpen, text_setlist));
  const std::string missing = dir_.File("missing.xls");
  EXPECT_EQ(Build(Put("set.txt", "opener\n"), missing), BuildOutcome::Stopped);
  EXPECT_EQ(console_.lines, Stop(msg::kSettingsOpen, missing));
  EXPECT_FALSE(JsonExists());
}

TEST_F(XlsBuildTest, WrongCaseAndAnXlsSetlistWithTextSettingsRunNothing) {
  const std::string settings = PutFixture("settings.xls");
  const std::string upper = Put("SET.XLS", Fixture("setlist.xls"));
  EXPECT_EQ(Build(upper, settings), BuildOutcome::InvalidCombination);
  EXPECT_EQ(Build(PutFixture("setlist.xls"), Put("SETTINGS.XLS", Fixture("settings.xls"))), BuildOutcome::InvalidCombination);
  EXPECT_EQ(Build(PutFixture("setlist.xls"), Put("settings.csv", "opener,A,B,,\n")), BuildOutcome::InvalidCombination);
  EXPECT_EQ(Build(PutFixture("setlist.xls"), Put("settings.txt", "opener,A,B,,\n")), BuildOutcome::InvalidCombination);
  EXPECT_TRUE(console_.lines.empty());
  EXPECT_FALSE(JsonExists());
}

// LibreOffice's workbook of a settings table builds what the table's CSV form builds:
// 8-bit and 16-bit texts arrive as the CSV's UTF-8, numbers as their text.
TEST_F(XlsBuildTest, LibreOfficeWorkbookBuildsLikeItsCsv) {
  const std::string setlist = Put("tour.csv", "CAFÉ\ncafé\nκαλημέρα\nWith Comma\nplain\nEncore\n");
  EXPECT_EQ(Build(setlist, PutFixture("lo-settings.csv")), BuildOutcome::Written);
  const std::string from_csv = Json();
  const Lines csv_lines = console_.lines;
  EXPECT_EQ(Build(setlist, PutFixture("lo-settings.xls")), BuildOutcome::Written);
  EXPECT_EQ(Json(), from_csv);
  EXPECT_EQ(console_.lines, csv_lines);
  EXPECT_EQ(console_.lines.size(), 4u);  // "Encore" has no setting; "CAFÉ" meets "café"
}

// The examples: an .xls table of text cells builds the same document as its CSV form, in
// every combination a newcomer can pick.
TEST(XlsExamples, BuildTheSameDocumentAsTheirTextForms) {
  ScratchDir dir;
  const std::string examples = std::string(TALLYFORM_SOURCE_DIR) + "/examples/";
  for (const char* name : {"setlist.csv", "setlist.txt", "settings.csv", "setlist.xls", "settings.xls"}) {
    WriteFile(dir.File(name), ReadFile(examples + name));
  }
  const auto build = [&dir](const std::string& setlist, const std::string& settings) {
    RecordingConsole console;
    const BuildPaths paths{dir.File(setlist), dir.File(settings), dir.File("out.json")};
    EXPECT_EQ(RunChosenBuild(paths, console), BuildOutcome::Written) << setlist << " " << settings;
    return std::make_pair(ReadFile(paths.json_file), console.lines);
  };
  const auto csv = build("setlist.csv", "settings.csv");
  ASSERT_NE(csv.first, "[]");
  EXPECT_EQ(build("setlist.csv", "settings.xls"), csv);
  EXPECT_EQ(build("setlist.xls", "settings.xls"), csv);
  EXPECT_EQ(build("setlist.txt", "settings.xls"), build("setlist.txt", "settings.csv"));
}

}  // namespace
