// Well-formed compound documents of both versions, crafted with the test builder: streams in
// regular sectors and in the mini stream, interleaved chains, a FAT beyond the header's 109
// entries, lookup rules for names, and the size rules of each version.
#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/cfb/cfb_builder.h"
#include "tests/cfb/cfb_test_io.h"
#include "cfb/compound_file.h"

namespace {

using CfbTest::Builder;
using CfbTest::Pattern;

struct Stream {
  std::u16string name;
  std::vector<uint8_t> data;
};

TEST(CompoundFileBuilt, EveryStreamOfBothVersionsReadsBack) {
  const std::vector<Stream> streams = {
      {u"Workbook", Pattern(5000, 1)},  {u"small", Pattern(100, 2)}, {u"Edge4095", Pattern(4095, 3)},
      {u"Edge4096", Pattern(4096, 4)},  {u"Empty", {}},             {u"Other", Pattern(9000, 5)},
      {u"One", Pattern(1, 6)},          {u"Sector", Pattern(512, 7)}};
  CfbTest::TempDir dir;
  for (uint16_t version : {3, 4}) {
    for (bool interleave : {false, true}) {
      SCOPED_TRACE(testing::Message() << "version " << version << " interleave " << interleave);
      Builder b(version);
      for (const Stream& s : streams) b.AddStream(s.name, s.data);
      b.SetInterleave(interleave);
      const std::string path = dir.Write("doc.xls", b.Build());
      Cfb::CompoundFile cf;
      ASSERT_TRUE(cf.Open(path));
      for (const Stream& s : streams) {
        SCOPED_TRACE(std::string(s.name.begin(), s.name.end()));
        uint64_t size = 99;
        EXPECT_EQ(cf.FileSize(s.name, size), Cfb::CfSuccess);
        EXPECT_EQ(size, s.data.size());
        std::vector<char> got{'x'};
        ASSERT_EQ(cf.ReadFile(s.name, got), Cfb::CfSuccess);
        EXPECT_EQ(std::vector<uint8_t>(got.begin(), got.end()), s.data);
      }
    }
  }
}

TEST(CompoundFileBuilt, FatListedThroughDifatChain) {
  CfbTest::TempDir dir;
  // A stream needing 110 FAT sectors: its tail is only reachable through the DIFAT chain.
  {
    Builder b(3);
    const auto big = Pattern(110 * 128 * 512, 8);
    b.AddStream(u"Workbook", big);
    CfbTest::Layout layout;
    const auto file = b.Build(&layout);
    ASSERT_EQ(layout.difatSectors.size(), 1u);
    EXPECT_TRUE(CfbTest::ReadStream(dir, file).Delivered(big));
  }
  // Free FAT sectors padding the FAT to several DIFAT sectors, in both versions.
  for (uint16_t version : {3, 4}) {
    Builder b(version);
    const auto data = Pattern(6000, 9);
    b.AddStream(u"Workbook", data);
    b.AddStream(u"mini", Pattern(200, 10));
    b.SetExtraFatSectors(version == 3 ? 400 : 1200);
    CfbTest::Layout layout;
    const auto file = b.Build(&layout);
    ASSERT_GE(layout.difatSectors.size(), 2u);
    EXPECT_TRUE(CfbTest::ReadStream(dir, file).Delivered(data));
    EXPECT_TRUE(CfbTest::ReadStream(dir, file, u"mini").Delivered(Pattern(200, 10)));
  }
}

TEST(CompoundFileBuilt, StreamsAreFoundOnlyDirectlyUnderTheRootByFormatNameOrder) {
  CfbTest::TempDir dir;
  Builder b(3);
  b.AddStream(u"Workbook", Pattern(300, 1));
  b.AddStream(u"\u00C4rger", Pattern(50, 2));  // Latin-1 capital A with diaeresis
  b.AddStorageWithStream(u"Store", u"Inner", Pattern(70, 3));
  b.AddStorageWithStream(u"Book", u"Workbook2", Pattern(70, 4));
  for (int i = 0; i < 20; ++i)  // enough siblings for a tree several levels deep
    b.AddStream(u"pad" + std::u16string(1, char16_t(u'A' + i)), Pattern(10, 5 + i));
  const std::string path = dir.Write("doc.xls", b.Build());
  Cfb::CompoundFile cf;
  ASSERT_TRUE(cf.Open(path));
  uint64_t size = 0;
  EXPECT_EQ(cf.FileSize("wORKBOOK", size), Cfb::CfSuccess);
  EXPECT_EQ(size, 300u);
  EXPECT_EQ(cf.FileSize(u"\u00E4RGER", size), Cfb::CfSuccess);  // lower-case a with diaeresis
  EXPECT_EQ(cf.FileSize("\xE4rger", size), Cfb::CfSuccess);     // 8-bit name, widened
  EXPECT_EQ(cf.FileSize("padT", size), Cfb::CfSuccess);
  EXPECT_EQ(cf.FileSize("Inner", size), Cfb::CfFailed);      // inside a storage
  EXPECT_EQ(cf.FileSize("Workbook2", size), Cfb::CfFailed);
  EXPECT_EQ(cf.FileSize("Book", size), Cfb::CfFailed);       // a storage, not a stream
  EXPECT_EQ(cf.FileSize("Workboo", size), Cfb::CfFailed);
  EXPECT_EQ(cf.FileSize("", size), Cfb::CfFailed);
  std::vector<char> out{'x'};
  EXPECT_EQ(cf.ReadFile("Store", out), Cfb::CfFailed);
  EXPECT_TRUE(out.empty());
}

TEST(CompoundFileBuilt, MissingWorkbookAndEmptyStream) {
  CfbTest::TempDir dir;
  Builder b(3);
  b.AddStream(u"Book", Pattern(600, 1));
  b.AddStream(u"Workbook", {});
  CfbTest::Outcome empty = CfbTest::ReadStream(dir, b.Build());
  EXPECT_EQ(empty.sized, Cfb::CfSuccess);
  EXPECT_EQ(empty.size, 0u);
  EXPECT_EQ(empty.read, Cfb::CfSuccess);
  EXPECT_TRUE(empty.data.empty());

  Builder none(4);
  none.AddStream(u"Book", Pattern(600, 1));
  CfbTest::Outcome missing = CfbTest::ReadStream(dir, none.Build());
  EXPECT_TRUE(missing.opened);
  EXPECT_EQ(missing.sized, Cfb::CfFailed);
  EXPECT_EQ(missing.read, Cfb::CfFailed);
  EXPECT_TRUE(missing.data.empty());
}

TEST(CompoundFileBuilt, SizeFieldWidthDependsOnVersion) {
  CfbTest::TempDir dir;
  for (uint16_t version : {3, 4}) {
    Builder b(version);
    const auto data = Pattern(5000, 1);
    const size_t stream = b.AddStream(u"Workbook", data);
    CfbTest::Layout layout;
    auto file = b.Build(&layout);
    // High half of the size: ignored by version 3, a size far beyond the file in version 4.
    CfbTest::Put32(file, CfbTest::DirEntryOffset(layout, layout.streamEntry[stream]) + CfbTest::kEntrySize + 4, 1);
    const CfbTest::Outcome o = CfbTest::ReadStream(dir, file);
    if (version == 3) {
      EXPECT_TRUE(o.Delivered(data));
    } else {
      EXPECT_EQ(o.sized, Cfb::CfFailed);
      EXPECT_EQ(o.read, Cfb::CfFailed);
    }
  }
}

TEST(CompoundFileBuilt, StreamOf4GiBIsTooLarge) {
  Builder b(4);
  const size_t stream = b.AddStream(u"Workbook", Pattern(5000, 1));
  CfbTest::Layout layout;
  auto file = b.Build(&layout);
  const uint64_t huge = (uint64_t{1} << 32) + 16;
  CfbTest::Put64(file, CfbTest::DirEntryOffset(layout, layout.streamEntry[stream]) + CfbTest::kEntrySize, huge);
  CfbTest::TempDir dir;
  const std::string path = dir.Write("big.xls", file);
  // A sparse file long enough to claim such a stream; no disk space is used.
  if (truncate(path.c_str(), static_cast<off_t>(huge + (1 << 20))) != 0)
    GTEST_SKIP() << "no sparse files here";
  Cfb::CompoundFile cf;
  ASSERT_TRUE(cf.Open(path));
  uint64_t size = 0;
  EXPECT_EQ(cf.FileSize("Workbook", size), Cfb::CfSuccess);
  EXPECT_EQ(size, huge);
  std::vector<char> out{'x'};
  EXPECT_EQ(cf.ReadFile("Workbook", out), Cfb::CfTooLarge);
  EXPECT_TRUE(out.empty());
  char buffer[16];
  EXPECT_EQ(cf.ReadFile("Workbook", buffer, sizeof buffer), Cfb::CfFailed);  // chain too short
}

}  // namespace
