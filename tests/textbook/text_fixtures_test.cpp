// Text tables written by real programs (LibreOffice, gnumeric, iconv; scripts/make-text-fixtures):
// each must read as Python's csv module reads it, and build the document a user expects, valid
// UTF-8 every time (a JSON parser checks it).
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "builder/build.h"
#include "builder/name_fold.h"
#include "tests/support/build_console.h"
#include "tests/support/files.h"
#include "tests/support/recording_console.h"
#include "textbook/text_book.h"

namespace {

using nlohmann::json;
using testing_support::Lines;
using testing_support::ReadFile;
using testing_support::RecordingConsole;
using testing_support::ScratchDir;
using testing_support::SuccessLines;
using testing_support::WriteFile;

const std::string kFixtures = TALLYFORM_SOURCE_DIR "/tests/fixtures/text/";

struct Fixture {
  std::string name;
  json oracle;  // {"encoding", "delimiter", "rows", "from_row", "cells": [[row, col, text], ...]}
};

std::vector<Fixture> Fixtures() {
  std::vector<Fixture> fixtures;
  for (const auto& entry : std::filesystem::directory_iterator(kFixtures)) {
    const std::string file = entry.path().filename().string();
    const std::string suffix = ".cells.json";
    if (file.size() <= suffix.size() || file.compare(file.size() - suffix.size(), suffix.size(), suffix) != 0) continue;
    fixtures.push_back({file.substr(0, file.size() - suffix.size()), json::parse(ReadFile(entry.path().string()))});
  }
  return fixtures;
}

json Cells(TextBook& book, int32_t from_row) {
  json cells = json::array();
  TextSheet* sheet = book.GetWorksheet(0);
  for (int32_t r = from_row; r < sheet->GetTotalRows(); ++r)
    for (uint32_t c = 0; c < TextCell::kFieldCount; ++c)
      if (const std::string text = sheet->Cell(r, c)->GetString(); !text.empty()) cells.push_back({r, c, text});
  return cells;
}

TEST(TextFixtures, EachReadsAsAnIndependentCsvReaderReadsIt) {
  const std::vector<Fixture> fixtures = Fixtures();
  ASSERT_GE(fixtures.size(), 13u);
  for (const Fixture& f : fixtures) {
    SCOPED_TRACE(f.name);
    TextBook book;
    ASSERT_TRUE(book.Load(kFixtures + f.name));
    EXPECT_EQ(std::string(TextEncodingName(book.GetEncoding())), f.oracle["encoding"]);
    EXPECT_EQ(std::string(TextDelimiterName(book.GetDelimiter())), f.oracle["delimiter"]);
    EXPECT_EQ(book.GetWorksheet(0)->GetTotalRows(), f.oracle["rows"]);
    EXPECT_EQ(Cells(book, f.oracle["from_row"]), f.oracle["cells"]);
  }
}

class TextFixtureBuild : public ::testing::Test {
 protected:
  // Builds `setlist` (UTF-8 lines) against a fixture; returns the parsed document.
  json Build(const std::string& setlist_bytes, const std::string& settings) {
    WriteFile(paths_.setlist_file, setlist_bytes);
    return BuildFile(paths_.setlist_file, settings);
  }
  json BuildFile(const std::string& setlist, const std::string& settings) {
    paths_.setlist_file = setlist;
    paths_.settings_file = kFixtures + settings;
    console_.lines.clear();
    EXPECT_FALSE(create_fromtext_file(paths_, console_));
    return json::parse(ReadFile(paths_.json_file));  // throws on text that is not UTF-8
  }

  ScratchDir dir_;
  BuildPaths paths_{dir_.File("setlist.csv"), "", dir_.File("setlist.json")};
  RecordingConsole console_;
};

TEST_F(TextFixtureBuild, EverySettingsTableBuildsTheRecordsItHolds) {
  for (const Fixture& f : Fixtures()) {
    if (f.name.rfind("setlist-", 0) == 0) continue;
    SCOPED_TRACE(f.name);
    // The setlist names every row once, in order; each yields the row's record.
    std::vector<std::vector<std::string>> rows(f.oracle["rows"].get<size_t>(), std::vector<std::string>(5));
    for (const json& cell : f.oracle["cells"]) rows[cell[0]][cell[1]] = cell[2];
    std::string setlist;
    json expected = json::array();
    for (size_t r = f.oracle["from_row"]; r < rows.size(); ++r) {
      setlist += rows[r][0] + "\n";
      expected.push_back({{"song", rows[r][1]}, {"patch", rows[r][2]}, {"notes", rows[r][3]}, {"bpm", rows[r][4]}});
    }
    EXPECT_EQ(Build(setlist, f.name), expected);
    // A table not split at commas is named, with the path the build was given.
    Lines read_as;
    if (f.oracle["delimiter"] != "comma-separated")
      read_as.push_back({"Reading " + kFixtures + f.name + " as " + f.oracle["delimiter"].get<std::string>(), BLUE, false});
    EXPECT_EQ(console_.lines, SuccessLines(read_as, static_cast<int>(expected.size()), paths_.json_file));
  }
}

TEST_F(TextFixtureBuild, WindowsSetlistMeetsUtf8Settings) {
  const json document = BuildFile(kFixtures + "setlist-1252.csv", "lo-utf8-comma.csv");
  std::vector<std::string> songs;
  for (const json& record : document) songs.push_back(record["song"]);
  EXPECT_EQ(songs, (std::vector<std::string>{"Café del Mar, Live", "Opening Song", "Naïve € Song", "Ünder Pressure"}));
  EXPECT_EQ(document[0]["notes"], "say \"hola\" first");
  EXPECT_EQ(document[3]["notes"], "verse soft\nchorus loud");
  EXPECT_EQ(console_.lines, SuccessLines({{"No setting for: missing song", RED, false}}, 4, paths_.json_file));
}

// Decomposed accents (as macOS writes them) and capitals in every script meet the settings'
// composed lower-case names once folded.
TEST(TextFixtureNames, DecomposedAndCapitalNamesFoldToTheSettingsNames) {
  TextBook nfc, nfd;
  ASSERT_TRUE(nfc.Load(kFixtures + "setlist-upper-nfc.csv"));
  ASSERT_TRUE(nfd.Load(kFixtures + "setlist-upper-nfd.csv"));
  const char* settings_names[] = {"café del mar", "ünder pressure", "σίσυφος", "ёлка", "naïve"};
  ASSERT_EQ(nfc.GetWorksheet(0)->GetTotalRows(), 5);
  for (uint32_t r = 0; r < 5; ++r) {
    const std::string composed = nfc.GetWorksheet(0)->Cell(r, 0)->GetString();
    const std::string decomposed = nfd.GetWorksheet(0)->Cell(r, 0)->GetString();
    SCOPED_TRACE(composed);
    if (r != 2 && r != 3) {
      EXPECT_NE(composed, decomposed);  // the reader keeps the bytes as written
    }
    EXPECT_EQ(FoldName(composed), FoldName(settings_names[r]));
    EXPECT_EQ(FoldName(decomposed), FoldName(settings_names[r]));
  }
}

}  // namespace
