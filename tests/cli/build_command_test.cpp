// tallyform-cli build, run as a process: its exit codes, its standard output and error, and
// that it writes the same document as the library build, also for the text tables that
// spreadsheet programs write (tests/fixtures/text/).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "builder/build.h"
#include "builder/dispatch.h"
#include "tests/support/files.h"
#include "tests/support/recording_console.h"
#include "tests/cli/cli_runner.h"

namespace {

using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::WriteFile;

const char kSettings[] = "opener,Opening Song,A12,capo 2,120\nballad,Slow Ballad,B07,,\n";

class BuildCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(dir_.File("set.csv"), "Opener\nBallad\nEncore\n");
    WriteFile(dir_.File("settings.txt"), kSettings);
  }
  ScratchDir dir_;
};

TEST_F(BuildCommandTest, WritesTheDocumentAndPrintsEachLineOnce) {
  const CliRun run = RunCli({"build", "set.csv", "settings.txt"}, dir_.path());
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out,
            "Building JSON file ...\n"
            "No setting for: encore\n"
            "File created...total records = 2\n"
            "set.json\n");
  EXPECT_EQ(run.err, "");

  // The library build on the same tables gives the same bytes.
  ScratchDir other;
  WriteFile(other.File("set.csv"), ReadFile(dir_.File("set.csv")));
  WriteFile(other.File("settings.txt"), kSettings);
  testing_support::RecordingConsole console;
  ASSERT_FALSE(create_fromtext_file(
      {other.File("set.csv"), other.File("settings.txt"), other.File("set.json")}, console));
  EXPECT_EQ(ReadFile(dir_.File("set.json")), ReadFile(other.File("set.json")));
}

// Ten thousand unknown entries print ten thousand lines, in order, in a handful of writes
// (one per line took a tenth of a large build).
TEST_F(BuildCommandTest, ManyLinesTakeAHandfulOfWrites) {
  std::string setlist = "Opener\n", out = "Building JSON file ...\n";
  for (int i = 0; i < 10000; ++i) {
    setlist += "Unknown " + std::to_string(i) + "\n";
    out += "No setting for: unknown " + std::to_string(i) + "\n";
  }
  WriteFile(dir_.File("set.csv"), setlist + "Ballad\n");
  out += "File created...total records = 2\nset.json\n";
  const CliRun run = RunCli({"build", "set.csv", "settings.txt"}, dir_.path());
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out, out);
  if (run.writes < 0) GTEST_SKIP() << "the kernel does not count the process's writes here";
  // About 300 KB of lines and the document: a few dozen at most, not ten thousand.
  EXPECT_LE(run.writes, 32);
}

TEST_F(BuildCommandTest, PathsAppearAsGiven) {
  const CliRun run = RunCli({"build", dir_.path() + "/./set.csv", "settings.txt"}, dir_.path());
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_NE(run.out.find("\n" + dir_.path() + "/./set.json\n"), std::string::npos) << run.out;
}

TEST_F(BuildCommandTest, StoppedBuildExitsOne) {
  WriteFile(dir_.File("empty.csv"), "");
  const CliRun run = RunCli({"build", "set.csv", "empty.csv"}, dir_.path());
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.out, "No valid records in settings file!!\nempty.csv\n");
  EXPECT_EQ(::access(dir_.File("set.json").c_str(), F_OK), -1);

  EXPECT_EQ(RunCli({"build", "set.csv", "missing.csv"}, dir_.path()).out,
            "Error opening settings file...\nmissing.csv\n");
}

TEST_F(BuildCommandTest, InvalidCombinationExitsOneWithTheWindowsLine) {
  WriteFile(dir_.File("SET.CSV"), "Opener\n");
  WriteFile(dir_.File("list"), "Opener\n");
  for (const auto& [setlist, settings] : std::vector<std::pair<std::string, std::string>>{
           {"SET.CSV", "settings.txt"}, {"set.xls", "settings.txt"}, {"list", "settings.txt"}}) {
    const CliRun run = RunCli({"build", setlist, settings}, dir_.path());
    EXPECT_EQ(run.exit_code, 1) << setlist;
    EXPECT_EQ(run.out, "Invalid combination of file-types ...\n") << setlist;
  }
  EXPECT_EQ(::access(dir_.File("set.json").c_str(), F_OK), -1);
}

TEST_F(BuildCommandTest, SetlistWithoutADotHasNoDocumentPath) {
  // Its whole name is the extension; "csv" passes the dispatch but no document can be named.
  WriteFile(dir_.File("csv"), "Opener\n");
  const CliRun run = RunCli({"build", "csv", "settings.txt"}, dir_.path());
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.out, "Error opening json output file...\n\n");
}

TEST_F(BuildCommandTest, UsageErrorsExitTwoOnStandardError) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"build"}, {"build", "set.csv"}, {"build", "set.csv", "settings.txt", "extra"}}) {
    const CliRun run = RunCli(args, dir_.path());
    EXPECT_EQ(run.exit_code, 2) << args.size();
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("usage: tallyform-cli build SETLIST SETTINGS", 0), 0u) << run.err;
  }
  const CliRun help = RunCli({"build", "--help"}, dir_.path());
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_EQ(help.out.rfind("usage: tallyform-cli build", 0), 0u);
}

}  // namespace

namespace {

// The tables a newcomer is pointed at must keep building.
TEST(Examples, BuildWithOneEntryWithoutSetting) {
  ScratchDir dir;
  const std::string examples = std::string(TALLYFORM_SOURCE_DIR) + "/examples/";
  for (const char* name : {"setlist.csv", "setlist.txt", "settings.csv"}) {
    WriteFile(dir.File(name), ReadFile(examples + name));
  }
  const CliRun csv = RunCli({"build", "setlist.csv", "settings.csv"}, dir.path());
  EXPECT_EQ(csv.exit_code, 0);
  EXPECT_EQ(csv.out,
            "Building JSON file ...\n"
            "No setting for: encore medley\n"
            "File created...total records = 5\n"
            "setlist.json\n");
  const CliRun txt = RunCli({"build", "setlist.txt", "settings.csv"}, dir.path());
  EXPECT_EQ(txt.exit_code, 0);
  EXPECT_EQ(ReadFile(dir.File("setlist.json")),
            R"([{"song":"Paper Moon","patch":"B07","notes":"","bpm":""},)"
            R"({"song":"Slow Burn","patch":"B02","notes":"swell on the chorus","bpm":"72"},)"
            R"({"song":"Intro Jam","patch":"A01","notes":"clean tone","bpm":"96"}])");
}

}  // namespace

namespace {

// Tables as LibreOffice, gnumeric and iconv save them, in every encoding and delimiter, built
// from a shell and in-process: the same valid UTF-8 document (nlohmann rejects any other), the
// records a user expects, names matched whatever their case, script or accent form.
TEST(TextFixtureBuilds, GiveTheDocumentsAUserExpects) {
  const std::string fixtures = std::string(TALLYFORM_SOURCE_DIR) + "/tests/fixtures/text/";
  const struct {
    const char* setlist;   // fixture, copied as set.<its extension>
    const char* settings;  // fixture
    const char* settings_as;
    std::vector<std::string> songs;
    std::vector<std::string> middle;  // the lines between the progress line and the total
  } cases[] = {
      {"setlist-1252.csv", "lo-1252-semicolon.csv", "settings.csv",
       {"Café del Mar, Live", "Opening Song", "Naïve € Song", "Ünder Pressure"},
       {"Reading settings.csv as semicolon-separated", "No setting for: missing song"}},
      {"setlist-1252.csv", "lo-1252-tab.txt", "settings.tsv",
       {"Café del Mar, Live", "Opening Song", "Naïve € Song", "Ünder Pressure"},
       {"Reading settings.tsv as tab-separated", "No setting for: missing song"}},
      // Decomposed accents, capitals in Greek and Cyrillic, against UTF-16 and Windows-1252.
      {"setlist-upper-nfd.csv", "lo-utf16-tab.txt", "settings.txt", {"Café del Mar", "Σίσυφος", "Ёлка"},
       {"Reading settings.txt as tab-separated", "No setting for: ünder pressure", "No setting for: naïve"}},
      {"setlist-upper-nfc.csv", "gnumeric-1252-crlf.csv", "settings.csv",
       {"Café del Mar, Live", "Ünder Pressure", "Naïve € Song"},
       {"No setting for: σίσυφοσ", "No setting for: ёлка"}},
      {"iconv-utf16be.csv", "iconv-utf8-bom-crlf.csv", "settings.csv",
       {"Σίσυφος", "Ёлка", "Café del Mar", "Guitar 🎸 Solo"}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.setlist) + " with " + c.settings);
    ScratchDir dir;
    const std::string setlist = "set." + FileExtension(c.setlist);
    WriteFile(dir.File(setlist), ReadFile(fixtures + c.setlist));
    WriteFile(dir.File(c.settings_as), ReadFile(fixtures + c.settings));
    const CliRun run = RunCli({"build", setlist, c.settings_as}, dir.path());
    EXPECT_EQ(run.exit_code, 0);
    std::string out = "Building JSON file ...\n";
    for (const std::string& line : c.middle) out += line + "\n";
    out += "File created...total records = " + std::to_string(c.songs.size()) + "\nset.json\n";
    EXPECT_EQ(run.out, out);
    const std::string document = ReadFile(dir.File("set.json"));
    std::vector<std::string> songs;
    for (const nlohmann::json& record : nlohmann::json::parse(document)) songs.push_back(record["song"]);
    EXPECT_EQ(songs, c.songs);

    testing_support::RecordingConsole console;
    const BuildPaths paths{dir.File(setlist), dir.File(c.settings_as), dir.File("lib.json")};
    EXPECT_EQ(RunChosenBuild(paths, console), BuildOutcome::Written);
    EXPECT_EQ(ReadFile(paths.json_file), document);
    EXPECT_EQ(console.lines.size(), c.middle.size() + 3);
  }
}

}  // namespace
