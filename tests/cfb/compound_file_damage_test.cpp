// Damaged compound documents: every number in the file is checked, so broken chains, tables,
// directory trees, sizes and headers fail cleanly (Open false or CfFailed), never crash,
// hang or allocate beyond the file. Run these under the sanitizer build too.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "tests/cfb/cfb_builder.h"
#include "tests/cfb/cfb_test_io.h"

namespace {

using namespace CfbTest;

// "Workbook" in 10 regular sectors (version 3), "mini" in 5 mini sectors, and a mini stream
// of two regular sectors.
struct Doc {
  explicit Doc(uint16_t version = 3, uint32_t extraFat = 0) {
    Builder b(version);
    workbook = b.AddStream(u"Workbook", Pattern(5000, 1));
    mini = b.AddStream(u"mini", Pattern(300, 2));
    b.AddStream(u"Zeta", Pattern(600, 3));
    b.SetExtraFatSectors(extraFat);
    file = b.Build(&layout);
  }
  size_t Entry(size_t stream, size_t field) const {
    return DirEntryOffset(layout, layout.streamEntry[stream]) + field;
  }
  uint32_t Sector(size_t stream, size_t i) const { return layout.streamChain[stream].at(i); }

  std::vector<uint8_t> file;
  Layout layout;
  size_t workbook = 0, mini = 0;
};

void ExpectFails(const std::vector<uint8_t>& file, const std::u16string& name = u"Workbook") {
  TempDir dir;
  const Outcome o = ReadStream(dir, file, name);
  EXPECT_TRUE(o.Failed());
  if (o.opened) {
    EXPECT_EQ(o.read, Cfb::CfFailed);
  }
}

void ExpectOpenFails(const std::vector<uint8_t>& file) {
  TempDir dir;
  EXPECT_FALSE(ReadStream(dir, file).opened);
}

TEST(CompoundFileDamage, RegularChains) {
  const std::vector<std::pair<const char*, std::function<void(Doc&)>>> cases = {
      {"loops back", [](Doc& d) { Put32(d.file, FatEntryOffset(d.layout, d.Sector(d.workbook, 5)), d.Sector(d.workbook, 2)); }},
      {"loops on itself", [](Doc& d) { Put32(d.file, FatEntryOffset(d.layout, d.Sector(d.workbook, 0)), d.Sector(d.workbook, 0)); }},
      {"ends early", [](Doc& d) { Put32(d.file, FatEntryOffset(d.layout, d.Sector(d.workbook, 3)), kEnd); }},
      {"runs into a free sector", [](Doc& d) { Put32(d.file, FatEntryOffset(d.layout, d.Sector(d.workbook, 3)), kFree); }},
      {"points past the file", [](Doc& d) { Put32(d.file, FatEntryOffset(d.layout, d.Sector(d.workbook, 3)), 0x00FFFFFF); }},
      {"starts past the file", [](Doc& d) { Put32(d.file, d.Entry(d.workbook, kEntryStart), 0x7FFFFFFF); }},
      {"starts at the end mark", [](Doc& d) { Put32(d.file, d.Entry(d.workbook, kEntryStart), kEnd); }},
      {"size beyond its chain", [](Doc& d) { Put32(d.file, d.Entry(d.workbook, kEntrySize), 5000 + 3 * 512); }},
      {"size beyond the file", [](Doc& d) { Put32(d.file, d.Entry(d.workbook, kEntrySize), 0x7FFFFFFF); }},
      {"size of 4 GiB - 1", [](Doc& d) { Put32(d.file, d.Entry(d.workbook, kEntrySize), 0xFFFFFFFF); }},
  };
  for (const auto& [what, damage] : cases) {
    SCOPED_TRACE(what);
    Doc d;
    damage(d);
    ExpectFails(d.file);
  }
}

TEST(CompoundFileDamage, MiniStreamAndMiniFat) {
  const std::vector<std::pair<const char*, std::function<void(Doc&)>>> cases = {
      {"mini chain loops", [](Doc& d) { Put32(d.file, MiniFatEntryOffset(d.layout, d.Sector(d.mini, 3)), d.Sector(d.mini, 1)); }},
      {"mini chain ends early", [](Doc& d) { Put32(d.file, MiniFatEntryOffset(d.layout, d.Sector(d.mini, 2)), kEnd); }},
      {"mini chain strays", [](Doc& d) { Put32(d.file, MiniFatEntryOffset(d.layout, d.Sector(d.mini, 2)), 5000); }},
      {"mini start past the mini stream", [](Doc& d) { Put32(d.file, d.Entry(d.mini, kEntryStart), 4000); }},
      {"mini FAT sector loops", [](Doc& d) { Put32(d.file, FatEntryOffset(d.layout, d.layout.miniFatSectors[0]), d.layout.miniFatSectors[0]); }},
      {"mini FAT starts past the file", [](Doc& d) { Put32(d.file, 60, 0x10000); }},
      {"mini stream chain strays", [](Doc& d) { Put32(d.file, FatEntryOffset(d.layout, d.layout.miniStreamSectors[0]), 0x10000); }},
      {"mini stream larger than the file", [](Doc& d) { Put32(d.file, DirEntryOffset(d.layout, 0) + kEntrySize, 0x7FFFFFF0); }},
      {"mini stream shorter than its sectors", [](Doc& d) { Put32(d.file, DirEntryOffset(d.layout, 0) + kEntrySize, 128); }},
      {"mini stream starts past the file", [](Doc& d) { Put32(d.file, DirEntryOffset(d.layout, 0) + kEntryStart, 0x3FFFFFFF); }},
  };
  for (const auto& [what, damage] : cases) {
    SCOPED_TRACE(what);
    Doc d;
    damage(d);
    ExpectFails(d.file, u"mini");
  }
}

TEST(CompoundFileDamage, FatAndDifat) {
  // Three DIFAT sectors in a version 3 file.
  const uint32_t extra = 109 + 2 * 127 + 10;
  const std::vector<std::pair<const char*, std::function<void(Doc&)>>> cases = {
      {"DIFAT loops", [](Doc& d) { Put32(d.file, SectorOffset(d.layout, d.layout.difatSectors[1]) + 508, d.layout.difatSectors[0]); }},
      {"DIFAT loops on itself", [](Doc& d) { Put32(d.file, SectorOffset(d.layout, d.layout.difatSectors[0]) + 508, d.layout.difatSectors[0]); }},
      {"DIFAT ends early", [](Doc& d) { Put32(d.file, SectorOffset(d.layout, d.layout.difatSectors[1]) + 508, kEnd); }},
      {"DIFAT strays", [](Doc& d) { Put32(d.file, SectorOffset(d.layout, d.layout.difatSectors[0]) + 508, 0x0FFFFFFF); }},
      {"DIFAT names a FAT sector past the file", [](Doc& d) { Put32(d.file, SectorOffset(d.layout, d.layout.difatSectors[2]), 0x0FFFFFFF); }},
      {"header names a FAT sector past the file", [](Doc& d) { Put32(d.file, 76 + 4 * 5, 0x0FFFFFFF); }},
      {"header names the free mark", [](Doc& d) { Put32(d.file, 76, kFree); }},
  };
  for (const auto& [what, damage] : cases) {
    SCOPED_TRACE(what);
    Doc d(3, extra);
    ASSERT_EQ(d.layout.difatSectors.size(), 3u);
    damage(d);
    ExpectFails(d.file);
  }
}

TEST(CompoundFileDamage, DirectoryTree) {
  const std::vector<std::pair<const char*, std::function<void(Doc&)>>> cases = {
      {"root's child points nowhere", [](Doc& d) { Put32(d.file, DirEntryOffset(d.layout, 0) + kEntryChild, 1000); }},
      {"sibling points nowhere", [](Doc& d) { Put32(d.file, d.Entry(d.workbook, kEntryLeft), 999); }},
      {"siblings loop", [](Doc& d) {
         const uint32_t top = static_cast<uint32_t>(d.file[DirEntryOffset(d.layout, 0) + kEntryChild]);
         for (size_t s : {d.workbook, d.mini}) Put32(d.file, d.Entry(s, kEntryRight), top);
       }},
      {"sibling is its own", [](Doc& d) { Put32(d.file, d.Entry(d.workbook, kEntryLeft), d.layout.streamEntry[d.workbook]); }},
      {"sibling is the root", [](Doc& d) { Put32(d.file, d.Entry(d.workbook, kEntryLeft), 0); }},
      {"sibling is an unused entry", [](Doc& d) { Put32(d.file, d.Entry(d.workbook, kEntryLeft), 3 + 1); }},
      {"first entry is no root", [](Doc& d) { d.file[DirEntryOffset(d.layout, 0) + kEntryType] = 1; }},
      {"directory chain loops", [](Doc& d) { Put32(d.file, FatEntryOffset(d.layout, d.layout.dirSectors[0]), d.layout.dirSectors[0]); }},
      {"directory chain strays", [](Doc& d) { Put32(d.file, FatEntryOffset(d.layout, d.layout.dirSectors[0]), 0x0FFFFFF0); }},
      {"name length odd", [](Doc& d) { Put16(d.file, d.Entry(d.workbook, kEntryNameLength), 17); }},
      {"name length too long", [](Doc& d) { Put16(d.file, d.Entry(d.workbook, kEntryNameLength), 66); }},
  };
  for (const auto& [what, damage] : cases) {
    SCOPED_TRACE(what);
    Doc d;
    damage(d);
    ExpectFails(d.file);
  }
}

TEST(CompoundFileDamage, HeaderRefusedAtOpen) {
  const std::vector<std::pair<const char*, std::function<void(Doc&)>>> cases = {
      {"signature", [](Doc& d) { d.file[7] = 0xE0; }},
      {"byte order", [](Doc& d) { Put16(d.file, 28, 0xFEFF); }},
      {"version 5", [](Doc& d) { Put16(d.file, 26, 5); }},
      {"version 3 with 4096-byte sectors", [](Doc& d) { Put16(d.file, 30, 12); }},
      {"version 4 with 512-byte sectors", [](Doc& d) { Put16(d.file, 26, 4); }},
      {"sector shift 31", [](Doc& d) { Put16(d.file, 30, 31); }},
      {"mini sector shift", [](Doc& d) { Put16(d.file, 32, 7); }},
      {"cutoff", [](Doc& d) { Put32(d.file, 56, 8192); }},
      {"no FAT sectors", [](Doc& d) { Put32(d.file, 44, 0); }},
      {"more FAT sectors than the file", [](Doc& d) { Put32(d.file, 44, 0x00FFFFFF); }},
      {"more DIFAT sectors than the file", [](Doc& d) { Put32(d.file, 72, 0xFFFFFFF0); }},
      {"directory past the file", [](Doc& d) { Put32(d.file, 48, 0x00FFFFFF); }},
      {"directory at the end mark", [](Doc& d) { Put32(d.file, 48, kEnd); }},
      {"DIFAT needed but past the file", [](Doc& d) { Put32(d.file, 44, 110); Put32(d.file, 68, kEnd); }},
  };
  for (const auto& [what, damage] : cases) {
    SCOPED_TRACE(what);
    Doc d;
    d.file.resize(200 * 512, 0);  // room for 110 FAT sectors, so only the named fault counts
    damage(d);
    ExpectOpenFails(d.file);
  }
  ExpectOpenFails({});
  const Doc whole;
  ExpectOpenFails(std::vector<uint8_t>(whole.file.begin(), whole.file.begin() + 511));
}

// Cut anywhere, a document delivers the right bytes or fails: never wrong data or a crash.
TEST(CompoundFileDamage, TruncatedAtManyLengths) {
  TempDir dir;
  for (uint16_t version : {3, 4}) {
    const Doc d(version);
    const std::vector<uint8_t> workbook = Pattern(5000, 1), mini = Pattern(300, 2);
    std::set<size_t> lengths = {d.file.size()};
    for (size_t length = 0; length < d.file.size(); length += 97) lengths.insert(length);
    for (size_t edge = 0; edge <= d.file.size(); edge += 512)
      for (size_t near : {edge - 1, edge, edge + 1, edge + 4})
        if (near <= d.file.size()) lengths.insert(near);
    size_t delivered = 0, failed = 0;
    for (size_t length : lengths) {
      SCOPED_TRACE(testing::Message() << "version " << version << " length " << length);
      const std::vector<uint8_t> cut(d.file.begin(), d.file.begin() + length);
      const std::vector<Outcome> both = ReadStreams(dir, cut, {u"Workbook", u"mini"});
      for (size_t i = 0; i < 2; ++i) {
        const Outcome& o = both[i];
        if (o.Delivered(i == 0 ? workbook : mini)) {
          ++delivered;
        } else {
          ++failed;
          EXPECT_TRUE(o.Failed());
        }
      }
    }
    EXPECT_GT(failed, 0u);
    EXPECT_GT(delivered, 0u);
    EXPECT_TRUE(ReadStream(dir, d.file).Delivered(workbook));
  }
}

// Random bytes written over the header and tables: the reader may fail, never misbehave.
TEST(CompoundFileDamage, RandomOverwritesOfTheStructure) {
  TempDir dir;
  const Doc pristine(3, 120);
  std::vector<size_t> targets = {26, 30, 44, 48, 60, 64, 68, 72, 76, 80};
  for (uint32_t s : pristine.layout.fatSectors) targets.push_back(SectorOffset(pristine.layout, s));
  for (uint32_t s : pristine.layout.dirSectors) targets.push_back(SectorOffset(pristine.layout, s));
  for (uint32_t s : pristine.layout.difatSectors) targets.push_back(SectorOffset(pristine.layout, s));
  for (uint32_t s : pristine.layout.miniFatSectors) targets.push_back(SectorOffset(pristine.layout, s));
  uint32_t x = 12345;
  auto next = [&x] {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    return x;
  };
  for (int round = 0; round < 500; ++round) {
    std::vector<uint8_t> file = pristine.file;
    for (int k = 0; k < 1 + round % 4; ++k) {
      const size_t base = targets[next() % targets.size()];
      const size_t at = std::min(file.size() - 4, base + (next() % 128) * 4);
      Put32(file, at, next() % 3 == 0 ? next() % 400 : next());
    }
    for (const Outcome& o : ReadStreams(dir, file, {u"Workbook", u"mini", u"Zeta"})) {
      if (o.opened && o.read == Cfb::CfSuccess) {
        EXPECT_LE(o.data.size(), file.size());
      }
    }
  }
}

}  // namespace
