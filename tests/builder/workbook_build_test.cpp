// The builds with .xlsx/.xlsm and .ods tables: the same table saved by different writers
// builds the same document as its .xls form, mixed kinds build together, one file chosen
// twice stops at the setlist, and damaged files stop with their usual message and leave the
// document of an earlier build as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "builder/build.h"
#include "builder/build_messages.h"
#include "builder/dispatch.h"
#include "tests/support/build_console.h"
#include "tests/support/build_fixture.h"
#include "tests/support/files.h"
#include "tests/support/xlsx_package.h"
#include "xlsx/xlsx_book.h"

namespace {

namespace msg = build_messages;
using testing_support::Lines;
using testing_support::ReadFile;
using testing_support::StopLines;
using xlsx_package::Package;

std::string Fixture(const std::string& name) {
  return ReadFile(std::string(TALLYFORM_SOURCE_DIR) + "/tests/fixtures/workbooks/" + name);
}

// Every build writes the same JSON path, so documents and consoles compare whole.
class WorkbookBuildTest : public testing_support::BuildFixture {
 protected:
  std::string PutFixture(const std::string& name) { return Put(name, Fixture(name)); }
  BuildOutcome Build(const std::string& setlist, const std::string& settings) {
    return BuildFixture::Build(setlist, settings, dir_.File("out.json"));
  }
};

// LibreOffice saved one settings table and one setlist as .xls, .xlsx and .ods, and the .ods
// again as .xls: every pairing writes the bytes of the .xls build.
TEST_F(WorkbookBuildTest, EveryKindBuildsTheDocumentOfItsXlsTwin) {
  const char* const kinds[] = {"xls", "xlsx", "ods", "ods.xls"};
  for (const char* kind : kinds) {
    PutFixture(std::string("build-settings.") + kind);
    PutFixture(std::string("build-setlist.") + kind);
  }
  ASSERT_EQ(Build(dir_.File("build-setlist.xls"), dir_.File("build-settings.xls")), BuildOutcome::Written);
  const std::string expected = Json();
  const Lines expected_lines = console_.lines;
  EXPECT_EQ(expected,
            R"([{"song":"Intro Jam","patch":"A01","notes":"clean tone","bpm":"96"},)"
            R"({"song":"Crème Brûlée","patch":"Ü1","notes":"naïve","bpm":"72"},)"  // "CAFÉ"
            R"({"song":"Crème Brûlée","patch":"Ü1","notes":"naïve","bpm":"72"},)"  // "café"
            R"({"song":"Midnight Drive","patch":"4","notes":"capo 2, drop D","bpm":"128"},)"
            R"({"song":"日本語の歌","patch":"Ω7","notes":"🎸 solo","bpm":"110"},)"
            R"({"song":"Last Call","patch":"11","notes":"","bpm":"140"}])");
  for (const char* setlist : kinds) {
    for (const char* settings : kinds) {
      SCOPED_TRACE(std::string(setlist) + " setlist, " + settings + " settings");
      ASSERT_EQ(Build(dir_.File(std::string("build-setlist.") + setlist),
                      dir_.File(std::string("build-settings.") + settings)),
                BuildOutcome::Written);
      EXPECT_EQ(Json(), expected);
      EXPECT_EQ(console_.lines, expected_lines);
    }
  }
  // A text setlist with each workbook settings table reads its entries from row 0.
  const std::string csv = Put("tour.csv", "Last Call\nintro\n");
  for (const char* settings : {"xlsx", "ods"}) {
    SCOPED_TRACE(settings);
    ASSERT_EQ(Build(csv, dir_.File(std::string("build-settings.") + settings)), BuildOutcome::Written);
    EXPECT_EQ(Json(), R"([{"song":"Last Call","patch":"11","notes":"","bpm":"140"},)"
                      R"({"song":"Intro Jam","patch":"A01","notes":"clean tone","bpm":"96"}])");
  }
}

// The variants the window has always called pick each workbook's reader by its extension.
TEST_F(WorkbookBuildTest, IndexAndHybridBuildsReadEachWorkbookByItsKind) {
  const std::string xls_settings = PutFixture("build-settings.xls");
  ASSERT_EQ(Build(PutFixture("build-setlist.xls"), xls_settings), BuildOutcome::Written);
  const std::string expected = Json();
  const std::string settings = PutFixture("build-settings.ods");
  paths_ = {PutFixture("build-setlist.xlsx"), settings, dir_.File("index.json")};
  EXPECT_FALSE(create_index_file(paths_, console_));
  EXPECT_EQ(Json(), expected);
  paths_ = {Put("tour.csv", "Last Call\n"), PutFixture("build-settings.xlsx"), dir_.File("hybrid.json")};
  EXPECT_FALSE(create_hybrid_file(paths_, console_));
  EXPECT_EQ(Json(), R"([{"song":"Last Call","patch":"11","notes":"","bpm":"140"}])");
}

// Settings from the first worksheet even behind a chart sheet, row 0 never matched; the
// setlist from every worksheet in order, hidden ones too; every cell read as an .xls cell.
TEST_F(WorkbookBuildTest, XlsxSheetsAndCellsReadAsAnXlsWorkbookWould) {
  Package settings;
  settings.sharedStrings = {"<t>Name</t>", "<r><t>Rich </t></r><r><t>Song</t></r>"};
  settings.sheets = {
      {"Chart", "", "chartsheet"},
      {"Settings",
       "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>"
       "<row r=\"2\"><c r=\"A2\" t=\"inlineStr\"><is><t>rich</t></is></c><c r=\"B2\" t=\"s\"><v>1</v></c>"
       "<c r=\"C2\"><v>4</v></c><c r=\"D2\"><v>98.599999999999994</v></c><c r=\"E2\"><v>-3.5</v></c></row>"
       "<row r=\"3\"><c r=\"A3\" t=\"str\"><f>\"bool\"</f><v>bool</v></c><c r=\"B3\" t=\"b\"><v>1</v></c>"
       "<c r=\"C3\"><f>1/2</f><v>0.5</v></c><c r=\"E3\" t=\"b\"><v>0</v></c></row>"
       "<row r=\"4\"><c r=\"A4\" t=\"inlineStr\"><is><t>texts</t></is></c>"
       "<c r=\"E4\" t=\"inlineStr\"><is><t> 120 bpm</t></is></c></row>"
       "<row r=\"5\"><c r=\"A5\" t=\"inlineStr\"><is><t>bad</t></is></c>"
       "<c r=\"E5\" t=\"inlineStr\"><is><t>fast</t></is></c></row>"
       "<row r=\"6\"><c r=\"A6\" t=\"inlineStr\"><is><t>error</t></is></c><c r=\"B6\" t=\"e\"><v>#N/A</v></c>"
       "<c r=\"E6\" t=\"e\"><f>NA()</f><v>#N/A</v></c></row>"},
      {"Later", "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>rich</t></is></c></row>"},
  };
  Package setlist;
  setlist.sheets = {
      {"One", "<row r=\"1\"><c t=\"inlineStr\"><is><t>Name</t></is></c></row>"
              "<row r=\"3\"><c t=\"inlineStr\"><is><t>RICH</t></is></c></row>"},
      {"Chart", "", "chartsheet"},
      {"Hidden", "<row><c t=\"inlineStr\"><is><t>bool</t></is></c></row>"
                 "<row><c t=\"inlineStr\"><is><t>texts</t></is></c></row>"
                 "<row><c t=\"inlineStr\"><is><t>bad</t></is></c></row>"
                 "<row><c t=\"inlineStr\"><is><t>error</t></is></c></row>",
       "worksheet", "hidden"},
  };
  const std::string settings_path = Put("settings.xlsx", xlsx_package::Bytes(settings));
  ASSERT_EQ(Build(Put("setlist.xlsm", xlsx_package::Bytes(setlist)), settings_path), BuildOutcome::Written);
  EXPECT_EQ(Json(), R"([{"song":"Rich Song","patch":"4","notes":"98.6","bpm":"-3"},)"
                    R"({"song":"1","patch":"0.5","notes":"","bpm":"0"},)"
                    R"({"song":"","patch":"","notes":"","bpm":"120"},)"
                    R"({"song":"","patch":"","notes":"","bpm":""},)"
                    R"({"song":"","patch":"","notes":"","bpm":""}])");
  EXPECT_EQ(console_.lines, Success({{"No setting for: name", RED, false},
                                     {"Invalid tempo for: bad", RED, false},
                                     {"Invalid tempo for: error", RED, false}},
                                    5));
}

TEST_F(WorkbookBuildTest, OneFileForBothTablesStopsAtTheSetlist) {
  for (const char* name : {"build-settings.xlsx", "build-settings.ods"}) {
    SCOPED_TRACE(name);
    const std::string both = PutFixture(name);
    EXPECT_EQ(Build(both, both), BuildOutcome::Stopped);
    EXPECT_EQ(console_.lines, StopLines(msg::kSetlistOpen, both));
    EXPECT_FALSE(std::filesystem::exists(paths_.json_file));
  }
  // Both tables let go of the file when the build returns.
  Xlsx::XlsxBook after;
  EXPECT_TRUE(after.Load(dir_.File("build-settings.xlsx")));
}

// A damaged table stops the build with the message of the step it fails and writes nothing:
// the document an earlier build wrote stays, byte for byte.
TEST_F(WorkbookBuildTest, DamagedWorkbooksStopAndKeepTheEarlierDocument) {
  const std::string good_settings = PutFixture("build-settings.xlsx");
  const std::string good_setlist = PutFixture("build-setlist.ods");
  ASSERT_EQ(Build(good_setlist, good_settings), BuildOutcome::Written);
  const std::string earlier = Json();

  const std::string xlsx = Fixture("build-settings.xlsx");
  const std::string ods = Fixture("build-setlist.ods");
  const std::string compound_file = std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(504, '\0');
  Package missing_sheet;
  missing_sheet.sheets = {{"S", "<row><c><v>1</v></c></row>"}};
  missing_sheet.replace = {{"xl/worksheets/worksheet1.xml", ""}};
  Package no_workbook;
  no_workbook.replace = {{"xl/workbook.xml", ""}};
  const std::string no_content = zip_maker::Archive(
      {zip_maker::File("mimetype", "application/vnd.oasis.opendocument.spreadsheet", false)});
  const struct {
    const char* what;
    const char* name;
    std::string bytes;
    bool as_settings;
    const char* message;
  } cases[] = {
      {"text named .xlsx", "text.xlsx", "intro,Intro Jam,A01,,96\n", true, msg::kSettingsOpen},
      {"text named .ods", "text.ods", "intro\n", false, msg::kSetlistOpen},
      {"truncated .xlsx", "cut.xlsx", xlsx.substr(0, xlsx.size() / 2), true, msg::kSettingsOpen},
      {"truncated .ods", "cut.ods", ods.substr(0, ods.size() - 30), false, msg::kSetlistOpen},
      {"sheet part missing", "nosheet.xlsx", xlsx_package::Bytes(missing_sheet), true, msg::kSettingsOpen},
      {"sheet part missing, setlist", "nosheet.xlsm", xlsx_package::Bytes(missing_sheet), false, msg::kSetlistOpen},
      {"encrypted package", "secret.xlsx", compound_file, true, msg::kSettingsSheet},
      {"encrypted package, setlist", "secret.xlsx", compound_file, false, msg::kNoSetlistSheets},
      {"no workbook part", "empty.xlsx", xlsx_package::Bytes(no_workbook), true, msg::kSettingsSheet},
      {"no content part", "empty.ods", no_content, true, msg::kSettingsSheet},
      {"no content part, setlist", "empty.ods", no_content, false, msg::kNoSetlistSheets},
  };
  std::set<std::string> files = {"build-settings.xlsx", "build-setlist.ods", "out.json"};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    files.insert(c.name);
    const std::string bad = Put(c.name, c.bytes);
    const std::string& setlist = c.as_settings ? good_setlist : bad;
    const std::string& settings = c.as_settings ? bad : good_settings;
    EXPECT_EQ(Build(setlist, settings), BuildOutcome::Stopped);
    EXPECT_EQ(console_.lines, StopLines(c.message, bad));
    EXPECT_EQ(Json(), earlier);
  }
  const std::vector<std::string> entries = dir_.Entries();
  EXPECT_EQ(std::set<std::string>(entries.begin(), entries.end()), files);  // no temporary left
}

}  // namespace
