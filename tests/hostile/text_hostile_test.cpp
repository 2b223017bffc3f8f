// Hostile text tables through the real text build: oversized, endless, special and binary
// files, in every encoding, must end in one of the build's messages (or a written document of
// valid UTF-8), never a hang, and a stop must leave the earlier document as it was.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "text/utf8.h"
#include "textbook/text_book.h"
#include "tests/hostile/hostile_support.h"

namespace {

namespace msg = build_messages;
using testing_support::ScratchDir;
using testing_support::WriteFile;

class HostileTextBuild : public ::testing::Test {
 protected:
  HostileTextBuild() {
    WriteFile(setlist_, hostile::kGoodSetlist);
    WriteFile(settings_, hostile::kGoodSettings);
  }
  BuildPaths Paths(const std::string& setlist, const std::string& settings) const {
    return {setlist, settings, dir_.File("setlist.json")};
  }
  // A file of `size` bytes of `byte` after `prefix` (one line, no line feed), in large blocks.
  std::string OneLine(const char* name, size_t size, char byte = 'a', const std::string& prefix = "") const {
    const std::string path = dir_.File(name);
    WriteFile(path, prefix);
    const std::string block(1 << 20, byte);
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND, 0644);
    for (size_t left = size - prefix.size(); fd >= 0 && left > 0;) {
      const size_t n = left < block.size() ? left : block.size();
      if (::write(fd, block.data(), n) != static_cast<ssize_t>(n)) break;
      left -= n;
    }
    if (fd >= 0) ::close(fd);
    return path;
  }

  ScratchDir dir_;
  const std::string setlist_ = dir_.File("setlist.csv");
  const std::string settings_ = dir_.File("settings.csv");
};

TEST_F(HostileTextBuild, TablesBeyondTheSizeLimitStopWithTheOpenMessage) {
  const std::string big = OneLine("big.csv", TextBook::kMaxTableBytes + 1);
  const BuildPaths settings = Paths(setlist_, big);
  hostile::ExpectStop(hostile::RunBuild(create_fromtext_file, settings), msg::kSettingsOpen, big);
  const BuildPaths setlist = Paths(big, settings_);
  hostile::ExpectStop(hostile::RunBuild(create_fromtext_file, setlist), msg::kSetlistOpen, big);
  ::unlink(big.c_str());
}

TEST_F(HostileTextBuild, TableOfExactlyTheLimitStillLoads) {
  const std::string edge = OneLine("edge.csv", TextBook::kMaxTableBytes);
  TextBook book;
  ASSERT_TRUE(book.Load(edge));
  EXPECT_EQ(book.GetWorksheet(0)->GetTotalRows(), 1);
  ::unlink(edge.c_str());
}

// Windows-1252 text grows as it becomes UTF-8: the euro sign takes three bytes.
TEST_F(HostileTextBuild, TablesAtTheLimitLoadInEveryEncoding) {
  const std::string euros = OneLine("euros.csv", TextBook::kMaxTableBytes, '\x80');
  TextBook book;
  ASSERT_TRUE(book.Load(euros));
  EXPECT_EQ(book.GetEncoding(), TextEncoding::kWindows1252);
  EXPECT_EQ(book.GetWorksheet(0)->GetTotalRows(), 1);
  EXPECT_EQ(std::string(book.GetWorksheet(0)->Cell(0, 0)->GetString()).size(), 3 * TextBook::kMaxTableBytes);
  ::unlink(euros.c_str());
  const std::string wide = OneLine("wide.csv", TextBook::kMaxTableBytes, '\x08', "\xFF\xFE");
  ASSERT_TRUE(book.Load(wide));
  EXPECT_EQ(book.GetEncoding(), TextEncoding::kUtf16LE);
  EXPECT_EQ(std::string(book.GetWorksheet(0)->Cell(0, 0)->GetString()).size(), 3 * (TextBook::kMaxTableBytes / 2 - 1));
  ::unlink(wide.c_str());
}

// A quote that never closes makes the rest of the table one record: nothing else matches.
TEST_F(HostileTextBuild, UnclosedQuoteHoldsTheRestOfTheTable) {
  WriteFile(settings_, std::string("Intro,\"Intro,P1,,120\n") + hostile::kGoodSettings);
  const BuildPaths paths = Paths(setlist_, settings_);
  const hostile::BuildRun run = hostile::RunBuild(create_fromtext_file, paths);
  hostile::ExpectCleanOutcome(run, paths);
  EXPECT_EQ(run.document, R"([{"song":"Intro,P1,,120\nIntro,Intro,P1,,120\nEncore,Encore,P2,,96",)"
                          R"("patch":"","notes":"","bpm":""}])");
}

// 64 MB (decimal) is inside the limit: one enormous row that matches nothing.
TEST_F(HostileTextBuild, SixtyFourMegabytesOfOneLineBuildCleanly) {
  const std::string line = OneLine("line.csv", 64'000'000);
  const BuildPaths as_setlist = Paths(line, settings_);
  const hostile::BuildRun first = hostile::RunBuild(create_fromtext_file, as_setlist);
  EXPECT_FALSE(first.stopped);
  hostile::ExpectCleanOutcome(first, as_setlist);
  EXPECT_EQ(first.document, "[]");
  const BuildPaths as_settings = Paths(setlist_, line);
  hostile::ExpectCleanOutcome(hostile::RunBuild(create_fromtext_file, as_settings), as_settings);
  ::unlink(line.c_str());
}

TEST_F(HostileTextBuild, DirectoriesAndDevicesAreNotTables) {
  for (const std::string& bad : {dir_.path(), std::string("/dev/zero"), std::string("/dev/urandom"),
                                 dir_.File("missing.csv")}) {
    SCOPED_TRACE(bad);
    const BuildPaths settings = Paths(setlist_, bad);
    hostile::ExpectStop(hostile::RunBuild(create_fromtext_file, settings), msg::kSettingsOpen, bad);
    const BuildPaths setlist = Paths(bad, settings_);
    hostile::ExpectStop(hostile::RunBuild(create_fromtext_file, setlist), msg::kSetlistOpen, bad);
  }
}

// Opening a named pipe nobody writes to must not wait: it reads as an empty table.
TEST_F(HostileTextBuild, NamedPipeWithoutWriterDoesNotHang) {
  const std::string fifo = dir_.File("pipe.csv");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const BuildPaths settings = Paths(setlist_, fifo);
  const BuildPaths setlist = Paths(fifo, settings_);
  EXPECT_TRUE(hostile::FinishesWithin(20, [&] {
    const hostile::BuildRun as_settings = hostile::RunBuild(create_fromtext_file, settings);
    const hostile::BuildRun as_setlist = hostile::RunBuild(create_fromtext_file, setlist);
    return as_settings.stopped && as_settings.lines.size() == 2 &&
           as_settings.lines[0].text == msg::kNoSettingsRecords &&
           as_settings.document == hostile::kEarlier && !as_setlist.stopped &&
           as_setlist.document == "[]";
  }));
}

TEST_F(HostileTextBuild, EmptyAndBinaryTablesEndCleanly) {
  const std::string empty = dir_.File("empty.csv");
  WriteFile(empty, "");
  const BuildPaths empty_settings = Paths(setlist_, empty);
  hostile::ExpectStop(hostile::RunBuild(create_fromtext_file, empty_settings), msg::kNoSettingsRecords, empty);
  const BuildPaths empty_setlist = Paths(empty, settings_);
  hostile::ExpectCleanOutcome(hostile::RunBuild(create_fromtext_file, empty_setlist), empty_setlist);

  // Binary files, also behind a UTF-16 or UTF-8 byte-order mark: the document is still UTF-8.
  for (const char* name : {"plain.xls", "sst-four-billion.xls", "encrypted-xor.xls"}) {
    for (const char* mark : {"", "\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF"}) {
      SCOPED_TRACE(std::string(name) + " after " + std::to_string(std::string(mark).size()) + " bytes");
      const std::string binary = dir_.File("binary.csv");
      WriteFile(binary, mark + testing_support::ReadFile(hostile::DataFile(name)));
      // Every row of the binary as its own entry, so its texts reach the document.
      TextBook book;
      ASSERT_TRUE(book.Load(binary));
      std::string setlist;
      for (int32_t r = 0; r < book.GetWorksheet(0)->GetTotalRows(); ++r)
        setlist += std::string(book.GetWorksheet(0)->Cell(r, 0)->GetString()) + "\n";
      WriteFile(dir_.File("binary-setlist.csv"), setlist);
      const BuildPaths binary_settings = Paths(dir_.File("binary-setlist.csv"), binary);
      const hostile::BuildRun run = hostile::RunBuild(create_fromtext_file, binary_settings);
      hostile::ExpectCleanOutcome(run, binary_settings);
      EXPECT_TRUE(IsUtf8(run.document));
      const BuildPaths binary_setlist = Paths(binary, settings_);
      hostile::ExpectCleanOutcome(hostile::RunBuild(create_fromtext_file, binary_setlist), binary_setlist);
    }
  }
}

}  // namespace
