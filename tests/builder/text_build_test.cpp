#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "builder/build.h"
#include "builder/build_messages.h"
#include "builder/dispatch.h"
#include "tests/support/files.h"
#include "tests/support/build_console.h"

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

class TextBuildTest : public ::testing::Test {
 protected:
  TextBuildTest()
      : paths_{dir_.File("setlist.csv"), dir_.File("settings.csv"), dir_.File("setlist.json")} {}

  // Writes both tables and builds; returns the build's result.
  bool Build(const std::string& setlist, const std::string& settings) {
    WriteFile(paths_.setlist_file, setlist);
    WriteFile(paths_.settings_file, settings);
    return Rebuild();
  }
  bool Rebuild() {
    console_.lines.clear();
    return create_fromtext_file(paths_, console_);
  }
  std::string Document() const { return ReadFile(paths_.json_file); }
  bool DocumentExists() const { return ::access(paths_.json_file.c_str(), F_OK) == 0; }
  // The lines of a successful build around the ones in between.
  Lines Success(const Lines& middle, int records) const { return SuccessLines(middle, records, paths_.json_file); }
  static Lines Stop(const char* message, const std::string& path) { return StopLines(message, path); }

  ScratchDir dir_;
  BuildPaths paths_;
  RecordingConsole console_;
};

// Runs in a child process: builds with files limited to 4 KiB and exits 0 when the build
// stopped with exactly the write error and the JSON path.
void BuildUnderFileSizeLimit(const BuildPaths& paths) {
  std::signal(SIGXFSZ, SIG_IGN);
  const rlimit limit{4096, 4096};
  ::setrlimit(RLIMIT_FSIZE, &limit);
  RecordingConsole console;
  const bool stopped = create_fromtext_file(paths, console);
  // The window empties its console at the stop: what stays is the error and the path.
  const Lines expected{{msg::kBuilding, BLUE, false},
                       {msg::kJsonWrite, RED, true},
                       {paths.json_file, BLACK, false}};
  std::_Exit(stopped && console.lines == expected ? 0 : 1);
}

const char kSettings[] = "opener,Opening Song,A12,capo 2,120\nballad,Slow Ballad,B07,,\n";

TEST_F(TextBuildTest, WorkedExampleByteForByte) {
  EXPECT_FALSE(Build("Opener\nBallad\nEncore\n", kSettings));
  EXPECT_EQ(Document(),
            R"([{"song":"Opening Song","patch":"A12","notes":"capo 2","bpm":"120"},)"
            R"({"song":"Slow Ballad","patch":"B07","notes":"","bpm":""}])");
  EXPECT_EQ(console_.lines, Success({{"No setting for: encore", RED, false}}, 2));
  // Building again rewrites the same bytes.
  const std::string first = Document();
  EXPECT_FALSE(Rebuild());
  EXPECT_EQ(Document(), first);
}

TEST_F(TextBuildTest, EmptySetlistOrNoMatchWritesAnEmptyArray) {
  EXPECT_FALSE(Build("", kSettings));
  EXPECT_EQ(Document(), "[]");
  EXPECT_EQ(console_.lines, Success({}, 0));
  EXPECT_FALSE(Build("\n\nnothing\n", kSettings));
  EXPECT_EQ(Document(), "[]");
  EXPECT_EQ(console_.lines, Success({{"No setting for: nothing", RED, false}}, 0));
}

TEST_F(TextBuildTest, TempoIsWrittenInPlainDecimal) {
  EXPECT_FALSE(Build("a\nb\nc\n", "a,A,1,,007\nb,B,2,,-3\nc,C,3,n,96 bpm\n"));
  EXPECT_EQ(Document(),
            R"([{"song":"A","patch":"1","notes":"","bpm":"7"},)"
            R"({"song":"B","patch":"2","notes":"","bpm":"-3"},)"
            R"({"song":"C","patch":"3","notes":"n","bpm":"96"}])");
}

TEST_F(TextBuildTest, InvalidTempoWritesEmptyBpmAndIsReportedRightAfterItsRecord) {
  EXPECT_FALSE(Build("Fast\nmissing\nslow\n",
                     "fast,Fast One,F1,,quick\nslow,Slow One,S1,,99999999999\nslow,Slow Two,S2,,60\n"));
  EXPECT_EQ(Document(),
            R"([{"song":"Fast One","patch":"F1","notes":"","bpm":""},)"
            R"({"song":"Slow One","patch":"S1","notes":"","bpm":""},)"
            R"({"song":"Slow Two","patch":"S2","notes":"","bpm":"60"}])");
  EXPECT_EQ(console_.lines, Success({{"Invalid tempo for: fast", RED, false},
                                     {"No setting for: missing", RED, false},
                                     {"Invalid tempo for: slow", RED, false}},
                                    3));
}

TEST_F(TextBuildTest, ValuesAreEscapedSoTheDocumentStaysValidJson) {
  EXPECT_FALSE(Build("x\n", "x,Back\\slash,P\t1,tab\there,\n"));
  EXPECT_EQ(Document(), R"([{"song":"Back\\slash","patch":"P\t1","notes":"tab\there","bpm":""}])");
}

TEST_F(TextBuildTest, MatchingFoldsCaseInEveryScriptAndTrimsNothing) {
  EXPECT_FALSE(Build("OPENER\nOpener \nÉTÉ\nCafe\u0301\nÜNKNOWN \n",
                     "opener,O,1,,\nopener ,OB,2,,\nété,E,3,,\ncafé,C,4,,\n"));
  EXPECT_EQ(Document(),
            R"([{"song":"O","patch":"1","notes":"","bpm":""},)"
            R"({"song":"OB","patch":"2","notes":"","bpm":""},)"
            R"({"song":"E","patch":"3","notes":"","bpm":""},)"
            R"({"song":"C","patch":"4","notes":"","bpm":""}])");
  // An unmatched name is shown folded, its blank kept.
  EXPECT_EQ(console_.lines, Success({{"No setting for: ünknown ", RED, false}}, 4));
}

TEST_F(TextBuildTest, DuplicatesAndRepeatsYieldARecordEach) {
  EXPECT_FALSE(Build("b\na\nB\n", "a,A1,1,,\n,skipped,0,,\nb,B1,2,,\nA,A2,3,,\nb,B2,4,,\n"));
  EXPECT_EQ(Document(),
            R"([{"song":"B1","patch":"2","notes":"","bpm":""},)"
            R"({"song":"B2","patch":"4","notes":"","bpm":""},)"
            R"({"song":"A1","patch":"1","notes":"","bpm":""},)"
            R"({"song":"A2","patch":"3","notes":"","bpm":""},)"
            R"({"song":"B1","patch":"2","notes":"","bpm":""},)"
            R"({"song":"B2","patch":"4","notes":"","bpm":""}])");
  EXPECT_EQ(console_.lines, Success({}, 6));
}

TEST_F(TextBuildTest, FirstSettingsRowIsMatchedAndBlankNamesAreSkippedQuietly) {
  EXPECT_FALSE(Build("\nname\n,ignored\n", "name,Song,Patch,Notes,Tempo\n"));
  EXPECT_EQ(Document(), R"([{"song":"Song","patch":"Patch","notes":"Notes","bpm":""}])");
  EXPECT_EQ(console_.lines, Success({{"Invalid tempo for: name", RED, false}}, 1));
}

TEST_F(TextBuildTest, StopsAreReportedInCheckOrderAndWriteNothing) {
  WriteFile(paths_.setlist_file, "a\n");
  const BuildPaths no_settings{paths_.setlist_file, dir_.File("none.csv"), paths_.json_file};
  EXPECT_TRUE(create_fromtext_file({dir_.File("none.csv"), no_settings.settings_file, paths_.json_file}, console_));
  EXPECT_EQ(console_.lines, Stop(msg::kSettingsOpen, no_settings.settings_file));

  console_.lines.clear();
  WriteFile(paths_.settings_file, "");
  EXPECT_TRUE(create_fromtext_file({dir_.File("none.csv"), paths_.settings_file, paths_.json_file}, console_));
  EXPECT_EQ(console_.lines, Stop(msg::kSetlistOpen, dir_.File("none.csv")));

  EXPECT_TRUE(Build("a\n", ""));
  EXPECT_EQ(console_.lines, Stop(msg::kNoSettingsRecords, paths_.settings_file));
  EXPECT_FALSE(DocumentExists());
  EXPECT_EQ(dir_.Entries().size(), 2u);
}

TEST_F(TextBuildTest, DocumentThatCannotBeCreatedStopsAtOpeningAndCreatesNothing) {
  WriteFile(paths_.setlist_file, "opener\n");
  WriteFile(paths_.settings_file, kSettings);
  for (const std::string& json : {dir_.File("missing/setlist.json"), dir_.path(), std::string()}) {
    console_.lines.clear();
    EXPECT_TRUE(create_fromtext_file({paths_.setlist_file, paths_.settings_file, json}, console_));
    EXPECT_EQ(console_.lines, Stop(msg::kJsonOpen, json));
  }
  ::mkdir(paths_.json_file.c_str(), 0755);  // a folder standing at the document's path
  EXPECT_TRUE(Rebuild());
  EXPECT_EQ(console_.lines, Stop(msg::kJsonOpen, paths_.json_file));
  EXPECT_EQ(dir_.Entries().size(), 3u);
}

// Runs as an unprivileged user when the tests run as root, who may write anywhere.
void BuildIntoLockedFolder(const BuildPaths& paths) {
  if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) std::_Exit(2);
  RecordingConsole console;
  const bool stopped = create_fromtext_file(paths, console);
  const Lines expected{{msg::kJsonOpen, RED, true}, {paths.json_file, BLACK, false}};
  std::_Exit(stopped && console.lines == expected ? 0 : 1);
}

TEST_F(TextBuildTest, UnwritableFolderStopsAtOpening) {
  WriteFile(paths_.setlist_file, "opener\n");
  WriteFile(paths_.settings_file, kSettings);
  ::chmod(dir_.path().c_str(), 0755);
  ::chmod(paths_.setlist_file.c_str(), 0644);
  ::chmod(paths_.settings_file.c_str(), 0644);
  ::chmod(dir_.path().c_str(), 0555);
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(BuildIntoLockedFolder(paths_), ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(dir_.Entries().size(), 2u);
}

TEST_F(TextBuildTest, FailedBuildAfterASuccessfulOneKeepsTheEarlierDocument) {
  ASSERT_FALSE(Build("opener\n", kSettings));
  const std::string earlier = Document();
  EXPECT_TRUE(Build("opener\n", ""));
  EXPECT_EQ(Document(), earlier);
}

// A document that cannot be written completely (here: the file-size limit, as a full disk
// would) stops the build with the write error and leaves the earlier document untouched.
TEST_F(TextBuildTest, WriteErrorKeepsTheEarlierDocumentAndLeavesNoTemporaryFile) {
  ASSERT_FALSE(Build("opener\n", kSettings));
  const std::string earlier = Document();
  std::string setlist;
  for (int i = 0; i < 20000; ++i) setlist += "opener\n";  // a document far above the limit
  WriteFile(paths_.setlist_file, setlist);

  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(BuildUnderFileSizeLimit(paths_), ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(Document(), earlier);
  EXPECT_EQ(dir_.Entries().size(), 3u);
}

TEST_F(TextBuildTest, RewriteKeepsTheDocumentsPermissions) {
  ASSERT_FALSE(Build("opener\n", kSettings));
  ::chmod(paths_.json_file.c_str(), 0640);
  ASSERT_FALSE(Rebuild());
  struct stat st {};
  ASSERT_EQ(::stat(paths_.json_file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

// A table not split at commas is named once, right after the progress line, settings first,
// with the path as given; a comma table adds nothing, and a stopped build names none.
TEST(TextBuildReadAs, TablesNotSplitAtCommasAreNamed) {
  const struct {
    const char* setlist;
    const char* setlist_bytes;
    const char* settings;
    const char* settings_bytes;
    std::vector<std::string> read_as;  // "<path> as <how>" in order
  } cases[] = {
      {"set.csv", "Opener\n", "cfg.csv", "opener,Opening Song,A12,,120\n", {}},
      {"set.txt", "Opener\n", "cfg.csv", "opener;Opening Song;A12;;120\n", {"cfg.csv as semicolon-separated"}},
      {"set.csv", "Opener;x\n", "cfg.txt", "opener\tOpening Song\tA12\t\t120\n",
       {"cfg.txt as tab-separated", "set.csv as semicolon-separated"}},
      // A .tsv is split at tabs even where its first record holds as many commas.
      {"set.csv", "Opener\n", "cfg.tsv", "opener\tOpening Song, Live, Take 2\tA12\t\t120\n", {"cfg.tsv as tab-separated"}},
      {"set.tsv", "Opener\n", "cfg.csv", "opener,Opening Song,A12,,120\n", {"set.tsv as tab-separated"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.setlist) + " " + c.settings);
    ScratchDir dir;
    WriteFile(dir.File(c.setlist), c.setlist_bytes);
    WriteFile(dir.File(c.settings), c.settings_bytes);
    const BuildPaths paths{dir.File(c.setlist), dir.File(c.settings), dir.File("set.json")};
    Lines read_as;
    for (const std::string& line : c.read_as) read_as.push_back({"Reading " + dir.path() + "/" + line, BLUE, false});
    RecordingConsole console;
    EXPECT_EQ(RunChosenBuild(paths, console), BuildOutcome::Written);
    EXPECT_EQ(console.lines, SuccessLines(read_as, 1, paths.json_file));
    // The text build called by name reads each table as its kind does, too.
    console.lines.clear();
    EXPECT_FALSE(create_fromtext_file(paths, console));
    EXPECT_EQ(console.lines, SuccessLines(read_as, 1, paths.json_file));
    if (std::string(c.settings) == "cfg.tsv") {
      EXPECT_EQ(ReadFile(paths.json_file), R"([{"song":"Opening Song, Live, Take 2","patch":"A12","notes":"","bpm":"120"}])");
    }
    std::remove(paths.setlist_file.c_str());
    console.lines.clear();
    EXPECT_EQ(RunChosenBuild(paths, console), BuildOutcome::Stopped);
    EXPECT_EQ(console.lines, StopLines(msg::kSetlistOpen, paths.setlist_file));
  }
}

TEST_F(TextBuildTest, WindowsLineEndsAndByteOrderMarkReadLikePlainLines) {
  EXPECT_FALSE(Build("\xEF\xBB\xBFOpener\r\nBallad\r\n",
                     "\xEF\xBB\xBFopener,Opening Song,A12,capo 2,120\r\nballad,Slow Ballad,B07,,\r\n"));
  EXPECT_EQ(Document(),
            R"([{"song":"Opening Song","patch":"A12","notes":"capo 2","bpm":"120"},)"
            R"({"song":"Slow Ballad","patch":"B07","notes":"","bpm":""}])");
}

}  // namespace
