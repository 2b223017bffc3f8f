// Damaged workbooks: each committed hostile file and every truncation of a good one must
// load to a readable book or fail the load, and the .xls builds must stop on them with one
// of their messages, leaving the earlier document as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fuzz/xls_visit.h"
#include "tests/hostile/hostile_support.h"
#include "tests/xls/stream_builder.h"
#include "xls/xls_book.h"

namespace {

using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::WriteFile;

// Loads the file and reads every cell; returns the load's result.
bool LoadAndVisit(const std::string& path, Xls::XlsBook& book) {
  const bool loaded = book.Load(path);
  if (loaded) VisitBook(book, nullptr, 0);
  return loaded;
}

const Xls::XlsCell* At(Xls::XlsBook& book, int32_t row, int32_t col) {
  const Xls::XlsSheet* sheet = book.GetWorksheet(0);
  return sheet ? sheet->Cell(row, col) : nullptr;
}

TEST(HostileXlsReader, ThePlainFileTheOthersAreMadeFromReads) {
  Xls::XlsBook book;
  ASSERT_TRUE(LoadAndVisit(hostile::DataFile("plain.xls"), book));
  ASSERT_EQ(book.GetTotalWorkSheets(), 1);
  ASSERT_NE(At(book, 1, 0), nullptr);
  EXPECT_DOUBLE_EQ(At(book, 0, 0)->GetDouble(), 1.0);
  EXPECT_STREQ(At(book, 1, 0)->GetString(), "Intro");
}

TEST(HostileXlsReader, LoopingAndMisdirectedChainsGiveNoSheets) {
  for (const char* name : {"fat-chain-loop.xls", "fat-chain-into-tables.xls", "directory-loop.xls",
                           "directory-root-loop.xls", "stream-size-beyond-file.xls"}) {
    SCOPED_TRACE(name);
    Xls::XlsBook book;
    LoadAndVisit(hostile::DataFile(name), book);
    EXPECT_EQ(book.GetTotalWorkSheets(), 0);
  }
}

TEST(HostileXlsReader, SstClaimingFourBillionStringsKeepsTheOneItHolds) {
  Xls::XlsBook book;
  ASSERT_TRUE(LoadAndVisit(hostile::DataFile("sst-four-billion.xls"), book));
  ASSERT_EQ(book.GetTotalWorkSheets(), 1);
  ASSERT_NE(At(book, 2, 0), nullptr);
  EXPECT_STREQ(At(book, 0, 0)->GetString(), "Intro");
  EXPECT_EQ(At(book, 1, 0)->GetString(), nullptr);
  EXPECT_EQ(At(book, 2, 0)->GetString(), nullptr);
}

TEST(HostileXlsReader, BackwardsMulrkSetsNoCellsPastItsEnd) {
  Xls::XlsBook book;
  ASSERT_TRUE(LoadAndVisit(hostile::DataFile("mulrk-backwards.xls"), book));
  ASSERT_EQ(book.GetTotalWorkSheets(), 1);
  const Xls::XlsSheet* sheet = book.GetWorksheet(0);
  EXPECT_LE(sheet->GetTotalCols(), 256);
  for (int32_t c = 0; c < sheet->GetTotalCols(); ++c) EXPECT_EQ(sheet->Cell(0, c)->Type(), Xls::CellUndefined);
  EXPECT_STREQ(At(book, 3, 0)->GetString(), "Intro");
}

TEST(HostileXlsReader, EncryptedWorkbookLoadsWithoutSheets) {
  Xls::XlsBook book;
  LoadAndVisit(hostile::DataFile("encrypted-xor.xls"), book);
  EXPECT_EQ(book.GetTotalWorkSheets(), 0);
}

// 40 sheets of one cell in row 65535 are 2.6 million grid rows from a 5 KB file; four are
// the most a book may hold.
TEST(HostileXlsReader, SheetsSpanningMoreThanTheGridLimitFailTheLoad) {
  Xls::XlsBook book;
  EXPECT_FALSE(book.Load(hostile::DataFile("many-tall-sheets.xls")));
  EXPECT_EQ(book.GetTotalWorkSheets(), 0);
}

TEST(HostileXlsReader, GridLimitCountsTheRowsOfEverySheet) {
  const auto tall = [](int sheets) {
    XlsTest::Stream stream;
    stream.bof(0x0005).eof();
    for (int i = 0; i < sheets; ++i) stream.bof(0x0010).number(65535, 0, 1.0).eof();
    return stream.out.b;
  };
  const int most = static_cast<int>(Xls::XlsBook::kMaxGridRows / 65536);
  Xls::XlsBook book;
  const std::vector<uint8_t> fits = tall(most);
  ASSERT_TRUE(book.LoadStream(ByteOrder::ByteSpan(fits.data(), fits.size())));
  EXPECT_EQ(book.GetTotalWorkSheets(), most);
  EXPECT_EQ(book.GetWorksheet(most - 1)->GetTotalRows(), 65536);
  const std::vector<uint8_t> beyond = tall(most + 1);
  EXPECT_FALSE(book.LoadStream(ByteOrder::ByteSpan(beyond.data(), beyond.size())));
  EXPECT_EQ(book.GetTotalWorkSheets(), 0);
}

// A file of the largest stream allowed plus one: the directory claims it, the file is sparse.
TEST(HostileXlsReader, WorkbookStreamBeyondTheLimitIsNotRead) {
  ScratchDir dir;
  std::string bytes = ReadFile(hostile::DataFile("plain.xls"));
  const uint64_t size = Xls::XlsBook::kMaxWorkbookStream + 1;
  for (int i = 0; i < 4; ++i) bytes[512 * 2 + 128 + 120 + i] = static_cast<char>(size >> (8 * i));
  const std::string path = dir.File("huge-stream.xls");
  WriteFile(path, bytes);
  ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(size + 8192)), 0);
  Xls::XlsBook book;
  EXPECT_FALSE(book.Load(path));
  EXPECT_EQ(book.GetTotalWorkSheets(), 0);

  // Just at the limit the stream is read (and found damaged: its chain is far too short).
  const uint64_t at = Xls::XlsBook::kMaxWorkbookStream;
  for (int i = 0; i < 4; ++i) bytes[512 * 2 + 128 + 120 + i] = static_cast<char>(at >> (8 * i));
  WriteFile(path, bytes);
  ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(size + 8192)), 0);
  EXPECT_TRUE(book.Load(path));
}

TEST(HostileXlsReader, TruncatedWorkbooksAtEveryLength) {
  ScratchDir dir;
  const std::string path = dir.File("cut.xls");
  for (const std::string& source : {hostile::DataFile("plain.xls"),
                                   std::string(TALLYFORM_SOURCE_DIR) + "/tests/fixtures/lo-small.xls",
                                   std::string(TALLYFORM_SOURCE_DIR) + "/tests/fixtures/xlwt-small.xls"}) {
    const std::string whole = ReadFile(source);
    ASSERT_FALSE(whole.empty()) << source;
    for (size_t n = 0; n < whole.size(); n += (n < 1100 ? 1 : 61)) {
      SCOPED_TRACE(source + " cut at " + std::to_string(n));
      WriteFile(path, whole.substr(0, n));
      Xls::XlsBook book;
      LoadAndVisit(path, book);
    }
  }
}

// The .xls builds stop cleanly on every hostile workbook, as settings and as setlist.
class HostileXlsBuild : public ::testing::Test {
 protected:
  BuildPaths Paths(const std::string& setlist, const std::string& settings) const {
    return {setlist, settings, dir_.File("setlist.json")};
  }
  std::string Good(const char* name, const std::string& bytes) const {
    WriteFile(dir_.File(name), bytes);
    return dir_.File(name);
  }
  static std::vector<std::string> HostileFiles() {
    std::vector<std::string> files;
    for (const char* name : {"fat-chain-loop.xls", "fat-chain-into-tables.xls", "directory-loop.xls",
                             "directory-root-loop.xls", "stream-size-beyond-file.xls",
                             "sst-four-billion.xls", "mulrk-backwards.xls", "encrypted-xor.xls",
                             "many-tall-sheets.xls"})
      files.push_back(hostile::DataFile(name));
    return files;
  }
  ScratchDir dir_;
};

TEST_F(HostileXlsBuild, HostileWorkbooksEndCleanly) {
  const std::string setlist_text = Good("setlist.csv", hostile::kGoodSetlist);
  const std::string plain = hostile::DataFile("plain.xls");
  for (const std::string& file : HostileFiles()) {
    SCOPED_TRACE(file);
    const BuildPaths hybrid = Paths(setlist_text, file);
    hostile::ExpectCleanOutcome(hostile::RunBuild(create_hybrid_file, hybrid), hybrid);
    const BuildPaths as_settings = Paths(plain, file);
    hostile::ExpectCleanOutcome(hostile::RunBuild(create_index_file, as_settings), as_settings);
    const BuildPaths as_setlist = Paths(file, plain);
    hostile::ExpectCleanOutcome(hostile::RunBuild(create_index_file, as_setlist), as_setlist);
  }
  // Beyond the grid limit the load fails: the usual open message.
  const BuildPaths tall = Paths(setlist_text, hostile::DataFile("many-tall-sheets.xls"));
  hostile::ExpectStop(hostile::RunBuild(create_hybrid_file, tall), build_messages::kSettingsOpen,
                      tall.settings_file);
}

TEST_F(HostileXlsBuild, MissingEmptyDirectoryAndDeviceStopWithTheOpenMessage) {
  const std::string setlist_text = Good("setlist.csv", hostile::kGoodSetlist);
  const std::string empty = Good("empty.xls", "");
  for (const std::string& bad : {empty, dir_.path(), std::string("/dev/zero"), dir_.File("missing.xls")}) {
    SCOPED_TRACE(bad);
    const BuildPaths hybrid = Paths(setlist_text, bad);
    hostile::ExpectStop(hostile::RunBuild(create_hybrid_file, hybrid), build_messages::kSettingsOpen, bad);
    const BuildPaths index = Paths(hostile::DataFile("plain.xls"), bad);
    hostile::ExpectStop(hostile::RunBuild(create_index_file, index), build_messages::kSettingsOpen, bad);
    const BuildPaths setlist = Paths(bad, hostile::DataFile("plain.xls"));
    hostile::ExpectStop(hostile::RunBuild(create_index_file, setlist), build_messages::kSetlistOpen, bad);
  }
}

TEST_F(HostileXlsBuild, TruncatedSettingsWorkbooksEndCleanly) {
  const std::string setlist_text = Good("setlist.csv", hostile::kGoodSetlist);
  const std::string whole = ReadFile(std::string(TALLYFORM_SOURCE_DIR) + "/tests/fixtures/lo-small.xls");
  const std::string cut = dir_.File("cut.xls");
  for (size_t n = 0; n < whole.size(); n += 97) {
    SCOPED_TRACE(n);
    WriteFile(cut, whole.substr(0, n));
    const BuildPaths hybrid = Paths(setlist_text, cut);
    hostile::ExpectCleanOutcome(hostile::RunBuild(create_hybrid_file, hybrid), hybrid);
  }
}

}  // namespace
