// tallyform-cli inspect: the JSON it prints for a workbook and how it refuses bad input.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

struct CliRun {
  int status;
  std::string out;
  std::string err;
};

// ctest runs these cases side by side, so each keeps its standard error in a file of its own.
std::string StderrPath() {
  return std::string(TALLYFORM_BINARY_DIR "/inspect-stderr-") +
         ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
}

CliRun Inspect(const std::string& args) {
  const std::string errPath = StderrPath();
  const std::string cmd = std::string(TALLYFORM_CLI) + " inspect " + args + " 2>" + errPath;
  FILE* p = popen(cmd.c_str(), "r");
  std::string out;
  char buf[4096];
  while (p && fgets(buf, sizeof buf, p)) out += buf;
  const int status = p ? pclose(p) : -1;
  std::ifstream in(errPath);
  std::string err((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out, err};
}

const std::string kData = TALLYFORM_SOURCE_DIR "/tests/xls/data/";

}  // namespace

TEST(InspectCommand, PrintsNonEmptyCellsRowMajorWithTypedValues) {
  const CliRun r = Inspect("--stream " + kData + "perl-values.bin");
  ASSERT_EQ(r.status, 0);
  // Error and Boolean formula results, doubles in shortest form, merged text.
  EXPECT_EQ(r.out,
            "{\"sheets\":[{\"rows\":4,\"cols\":4,\"cells\":[[0,0,3,\"Text\"],[0,1,2,3.9],[0,2,2,-3.9],"
            "[0,3,2,12],[2,0,5,\"\"],[2,1,5,1],[2,2,5,7.8],[3,0,3,\"merged range\"]]}]}\n");
}

TEST(InspectCommand, TextIsUtf8AndWideTextKeepsItsCharacters) {
  const CliRun r = Inspect("--stream " + kData + "lo-formulas.bin");
  ASSERT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("[42,0,3,\"Größe\"]"), std::string::npos);
  EXPECT_NE(r.out.find("[42,1,4,\"Ελληνικά\"]"), std::string::npos);
  EXPECT_NE(r.out.find("[42,2,2,1e+300]"), std::string::npos);
  EXPECT_NE(r.out.find("[1,3,5,\"row 2-x\"]"), std::string::npos);
}

TEST(InspectCommand, RefusesWhatItCannotLoad) {
  CliRun r = Inspect(kData + "no-such-file.xls");
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.out.empty());
  EXPECT_NE(r.err.find("no-such-file.xls"), std::string::npos);
  r = Inspect("--stream " + kData + "no-such-file.bin");
  EXPECT_EQ(r.status, 1);
  r = Inspect("");
  EXPECT_EQ(r.status, 2);
}

TEST(InspectCommand, TextTablesAreOneSheetOfFiveFields) {
  const std::string path = TALLYFORM_BINARY_DIR "/inspect-table.csv";
  std::ofstream(path) << "Title,Patch\nSong,12\n\n\xC3\x84rger,7\n";
  const CliRun r = Inspect(path);
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "{\"encoding\":\"UTF-8\",\"delimiter\":\"comma\",\"sheets\":[{\"rows\":4,\"cols\":5,\"cells\":["
            "[0,0,3,\"Title\"],[0,1,3,\"Patch\"],[1,0,3,\"Song\"],[1,1,1,\"12\"],[3,0,3,\"\xC3\x84rger\"],[3,1,1,\"7\"]]}]}\n");
  EXPECT_EQ(Inspect(TALLYFORM_BINARY_DIR "/no-such-table.csv").status, 1);
}

TEST(InspectCommand, TextsAreEscapedAsTheDocumentEscapesThemAndDecodedAsTheBuildReadsThem) {
  const std::string path = TALLYFORM_BINARY_DIR "/inspect-escapes.csv";
  std::ofstream(path, std::ios::binary) << "a\bb\fc\x01,Caf\xE9 \x80,\xC0\xAF\n";
  const CliRun r = Inspect(path);
  ASSERT_EQ(r.status, 0);
  // \b and \f as in the JSON setlist; not UTF-8, so Windows-1252 (0x80 is the euro sign).
  EXPECT_EQ(r.out,
            "{\"encoding\":\"Windows-1252\",\"delimiter\":\"comma\",\"sheets\":[{\"rows\":1,\"cols\":5,\"cells\":["
            "[0,0,3,\"a\\bb\\fc\\u0001\"],[0,1,3,\"Caf\xC3\xA9 \xE2\x82\xAC\"],[0,2,3,\"\xC3\x80\xC2\xAF\"]]}]}\n");
}

// The encoding and delimiter the reader chose, named before the sheets; a .tsv is split at tabs.
TEST(InspectCommand, TextTablesNameTheirEncodingAndDelimiter) {
  const std::string fixtures = TALLYFORM_SOURCE_DIR "/tests/fixtures/text/";
  const std::string tsv = TALLYFORM_BINARY_DIR "/inspect-commas.tsv";
  std::ofstream(tsv, std::ios::binary) << "a,b,c\tSong, Live\n";
  const struct {
    std::string path;
    const char* head;
    const char* first_cell;
  } cases[] = {
      {fixtures + "lo-1252-semicolon.csv", R"({"encoding":"Windows-1252","delimiter":"semicolon",)", R"([0,0,3,"café del mar"])"},
      {fixtures + "lo-utf16-tab.txt", R"({"encoding":"UTF-16LE","delimiter":"tab",)", R"([0,0,3,"σίσυφος"])"},
      {fixtures + "iconv-utf16be.csv", R"({"encoding":"UTF-16BE","delimiter":"comma",)", R"([0,0,3,"σίσυφος"])"},
      {tsv, R"({"encoding":"UTF-8","delimiter":"tab",)", R"([0,0,3,"a,b,c"])"},
  };
  for (const auto& c : cases) {
    const CliRun r = Inspect(c.path);
    ASSERT_EQ(r.status, 0) << c.path;
    EXPECT_EQ(r.out.rfind(std::string(c.head) + R"("sheets":[)", 0), 0u) << r.out;
    EXPECT_NE(r.out.find(std::string(R"("cells":[)") + c.first_cell), std::string::npos) << r.out;
  }
}

// The .xlsx and .ods readers in the same shape: formula results by kind (an error result
// is ""), Booleans as type 1, chart sheets skipped, repeated rows and cells placed.
TEST(InspectCommand, WorkbooksOfTheNewerKindsInTheSameShape) {
  const std::string workbooks = TALLYFORM_SOURCE_DIR "/tests/fixtures/workbooks/";
  CliRun r = Inspect(workbooks + "perl-chartsheet.xlsx");
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "{\"sheets\":[{\"rows\":10,\"cols\":3,\"cells\":[[0,0,3,\"name\"],[0,1,3,\"value\"],[0,2,3,\"formula\"],"
            "[1,0,3,\"item 1\"],[1,1,2,1.5],[1,2,5,98.6],[2,0,3,\"item 2\"],[2,1,2,3],[2,2,5,\"item 1!\"],"
            "[3,0,3,\"item 3\"],[3,1,2,4.5],[3,2,5,1],[4,0,3,\"item 4\"],[4,1,2,6],[4,2,5,\"\"],"
            "[5,0,3,\"item 5\"],[5,1,2,7.5],[6,0,3,\"plain bold end\"],[7,0,3,\"merged\"],"
            "[9,0,3,\"\xCE\x9A\xCE\xB1\xCE\xBB\xCE\xB7\xCE\xBC\xCE\xAD\xCF\x81\xCE\xB1 \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E "
            "\xF0\x9F\x8E\xB8\"]]},"
            "{\"rows\":2,\"cols\":2,\"cells\":[[0,0,3,\"after the chart sheet\"],[1,1,2,42]]},"
            "{\"rows\":1,\"cols\":1,\"cells\":[[0,0,3,\"hidden\"]]}]}\n");
  r = Inspect(workbooks + "lo-repeats.ods");
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "{\"sheets\":[{\"rows\":9,\"cols\":7,\"cells\":[[0,0,3,\"same\"],[0,1,3,\"same\"],[0,2,2,7],[0,3,2,7],"
            "[1,0,2,1],[1,2,3,\"x\"],[2,0,2,1],[2,2,3,\"x\"],[3,0,2,1],[3,2,3,\"x\"],[8,6,3,\"far\"]]},"
            "{\"rows\":1,\"cols\":1,\"cells\":[[0,0,3,\"after the tail\"]]}]}\n");
}

// Extensions are compared exactly, as the build compares them: any other file is refused,
// never printed as if it were a text table.
TEST(InspectCommand, RefusesAKindNoReaderKnows) {
  const std::string workbooks = TALLYFORM_SOURCE_DIR "/tests/fixtures/workbooks/";
  const std::string upper = TALLYFORM_BINARY_DIR "/inspect-upper.XLSX";
  const std::string zip = TALLYFORM_BINARY_DIR "/inspect-archive.zip";
  const std::string csv = TALLYFORM_BINARY_DIR "/inspect-upper.CSV";
  std::ofstream(upper, std::ios::binary) << std::ifstream(workbooks + "build-settings.xlsx", std::ios::binary).rdbuf();
  std::ofstream(zip, std::ios::binary) << std::ifstream(workbooks + "build-settings.ods", std::ios::binary).rdbuf();
  std::ofstream(csv) << "intro,Intro Jam\n";
  for (const std::string& path : {upper, zip, csv}) {
    const CliRun r = Inspect(path);
    EXPECT_EQ(r.status, 1) << path;
    EXPECT_TRUE(r.out.empty()) << path;
    EXPECT_NE(r.err.find(path), std::string::npos) << path;
  }
  // A workbook of a known kind that does not load is refused like a damaged .xls.
  const std::string damaged = TALLYFORM_BINARY_DIR "/inspect-damaged.ods";
  std::ofstream(damaged) << "not a zip\n";
  const CliRun r = Inspect(damaged);
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.out.empty());
}
