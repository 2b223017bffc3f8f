// The build's report and the preview rows: the report follows the setlist as the console
// does, the document is read back as Upload would send it (or refused with a reason), and the
// rows place the entries without a setting and the tempo warnings where the build met them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "builder/dispatch.h"
#include "builder/setlist_preview.h"
#include "tests/support/files.h"
#include "tests/support/recording_console.h"

namespace {

using testing_support::ScratchDir;
using testing_support::WriteFile;
using Kind = BuildEvent::Kind;

TEST(BuildReport, FollowsTheSetlistAsTheConsoleDoes) {
  ScratchDir dir;
  WriteFile(dir.File("set.csv"), "Fast\nmissing\nslow\n");
  WriteFile(dir.File("settings.csv"), "fast,Fast One,F1,,quick\nslow,Slow One,S1,,99999999999\nslow,Slow Two,S2,,60\n");
  testing_support::RecordingConsole console;
  BuildReport report;
  ASSERT_EQ(RunChosenBuild({dir.File("set.csv"), dir.File("settings.csv"), dir.File("set.json")}, console, &report),
            BuildOutcome::Written);
  EXPECT_EQ(report, (BuildReport{{Kind::Record, "fast"},
                                 {Kind::InvalidTempo, "fast"},
                                 {Kind::NoSetting, "missing"},
                                 {Kind::Record, "slow"},
                                 {Kind::InvalidTempo, "slow"},
                                 {Kind::Record, "slow"}}));

  std::vector<PreviewRow> rows;
  std::string error;
  ASSERT_TRUE(ReadPreviewRows(dir.File("set.json"), &report, rows, error)) << error;
  const std::vector<PreviewRow> expected = {
      {PreviewRow::Kind::Record, 1, {"Fast One", "F1", "", ""}, "Invalid tempo for: fast"},
      {PreviewRow::Kind::NoSetting, 0, {"missing", "", "", ""}, "No setting for: missing"},
      {PreviewRow::Kind::Record, 2, {"Slow One", "S1", "", ""}, "Invalid tempo for: slow"},
      {PreviewRow::Kind::Record, 3, {"Slow Two", "S2", "", "60"}, ""},
  };
  EXPECT_EQ(rows, expected);
}

TEST(SetlistDocument, ReadsWhatUploadWouldSendOrSaysWhyNot) {
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<SetlistRecord> records;  // when read
    std::string error;                   // when refused
  };
  const std::string built = R"([{"song":"Caf\u00e9 \"Live\"","patch":"A1","notes":"a\nb","bpm":"96"},)"
                            R"({"song":"","patch":"","notes":"","bpm":""}])";
  const Case cases[] = {
      {"as built", built, {{"Café \"Live\"", "A1", "a\nb", "96"}, {"", "", "", ""}}, ""},
      {"empty array, line end", "[]\r\n", {}, ""},
      {"nested under a key not shown", R"([{"song":"A","x":[1]}])", {}, "record 1 holds a nested value"},
      {"scalars and missing keys", R"([{"bpm":120,"song":null,"x":"y","notes":true},{"patch":1.50}])",
       {{"null", "", "true", "120"}, {"", "1.50", "", ""}}, ""},
      {"empty file", "", {}, "it is not JSON: "},
      {"not JSON", "[{\"song\":", {}, "it is not JSON: "},
      {"trailing text", "[]x", {}, "it is not JSON: "},
      {"invalid UTF-8", "[{\"song\":\"\xff\"}]", {}, "it is not JSON: "},
      {"object", R"({"song":"A"})", {}, "it holds an object, not a JSON array"},
      {"string", R"("A")", {}, "it holds a single value, not a JSON array"},
      {"item not a record", R"([{"song":"A"},"B"])", {}, "item 2 of the array is not a record"},
      {"nested array", R"([[]])", {}, "item 1 of the array is not a record"},
      {"nested object", R"([{"song":{"a":1}}])", {}, "record 1 holds a nested value"},
  };
  ScratchDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile(dir.File("doc.json"), c.bytes);
    std::vector<SetlistRecord> records{{"stale", "", "", ""}};
    std::string error;
    const bool read = ReadSetlistDocument(dir.File("doc.json"), records, error);
    EXPECT_EQ(read, c.error.empty()) << error;
    if (read) {
      EXPECT_EQ(records, c.records);
    } else {
      EXPECT_EQ(error.substr(0, c.error.size()), c.error);
      EXPECT_TRUE(records.empty());
    }
  }
}

TEST(SetlistDocument, RefusesWhatItShouldNotReadWhole) {
  ScratchDir dir;
  std::string many = "[";
  for (size_t i = 0; i <= kMaxDocumentRecords; ++i) many += i ? ",{}" : "{}";
  WriteFile(dir.File("many.json"), many + "]");
  WriteFile(dir.File("huge.json"), std::string(kMaxDocumentBytes + 1, ' '));
  const std::pair<std::string, std::string> cases[] = {
      {dir.File("none.json"), "No such file or directory"},
      {dir.path(), "it is a folder"},
      {"/dev/null", "it is not a regular file"},
      {dir.File("huge.json"), "it is larger than 16 MiB (16777217 bytes)"},
      {dir.File("many.json"), "it holds more than 100000 records"},
  };
  for (const auto& [path, expected] : cases) {
    std::vector<SetlistRecord> records;
    std::string error;
    EXPECT_FALSE(ReadSetlistDocument(path, records, error)) << path;
    EXPECT_EQ(error, expected) << path;
    EXPECT_TRUE(records.empty());
  }
}

TEST(PreviewRows, TheReportPlacesTheRowsOfItsOwnDocument) {
  const std::vector<SetlistRecord> two = {{"A", "", "", ""}, {"B", "", "", ""}};
  const BuildReport report = {{Kind::NoSetting, "x"}, {Kind::Record, "a"}, {Kind::Record, "b"},
                              {Kind::InvalidTempo, "b"}, {Kind::NoSetting, "y"}};
  struct Case {
    const char* name;
    std::vector<SetlistRecord> records;
    const BuildReport* report;
    std::vector<std::string> shown;  // song, or song!warning
  };
  const Case cases[] = {
      {"as built", two, &report, {"x!No setting for: x", "A", "B!Invalid tempo for: b", "y!No setting for: y"}},
      {"no report", two, nullptr, {"A", "B"}},
      {"changed since the build: fewer records", {two[0]}, &report, {"A"}},
      {"changed since the build: more records", {two[0], two[1], {"C", "", "", ""}}, &report, {"A", "B", "C"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<PreviewRow> rows;
    std::string error;
    ASSERT_TRUE(PlacePreviewRows(c.records, c.report, rows, error));
    std::vector<std::string> shown;
    int64_t number = 0;
    for (const PreviewRow& row : rows) {
      shown.push_back(row.values.song + (row.warning.empty() ? "" : "!" + row.warning));
      EXPECT_EQ(row.record, row.kind == PreviewRow::Kind::Record ? ++number : 0);
    }
    EXPECT_EQ(shown, c.shown);
  }

  BuildReport unmatched(kMaxPreviewRows, {Kind::NoSetting, "x"});
  unmatched.insert(unmatched.end(), 2, {Kind::Record, "a"});
  std::vector<PreviewRow> rows;
  std::string error;
  EXPECT_FALSE(PlacePreviewRows(two, &unmatched, rows, error));
  EXPECT_EQ(error, "it makes more than 100000 rows");
  EXPECT_TRUE(rows.empty());
}

}  // namespace
