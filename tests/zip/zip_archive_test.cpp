// The zip container against archives made in the test: what opens, what is refused before
// libzip sees it, and entries that inflate past the limits or do not match their CRC.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/zip_maker.h"
#include "lockedfile/locked_file.h"
#include "zip/zip_archive.h"

namespace {

using zip_maker::Entry;

using zip_maker::File;

// The entry's bytes (kept only when `keep`), and whether it inflated to its end.
std::string Inflate(const Zip::Archive& archive, const std::string& name, bool& ok, bool keep = true) {
  ok = false;
  const auto index = archive.Find(name);
  if (!index) return {};
  Zip::EntryStream stream;
  if (!stream.Open(archive, *index)) return {};
  std::string out;
  char buffer[65536];
  int64_t got;
  while ((got = stream.Read(buffer, sizeof buffer)) > 0)
    if (keep) out.append(buffer, static_cast<size_t>(got));
  ok = got == 0;
  return out;
}

bool Opens(const std::string& bytes) {
  Zip::Archive archive;
  return archive.Open(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

std::string Plain() { return zip_maker::Archive({File("a.xml", "<a>hello</a>"), File("b.txt", "stored", false)}); }

// An end record preceded by a zip64 locator, as a zip64 writer leaves it.
std::string WithZip64Locator() {
  std::string bytes = Plain();
  std::string locator;
  zip_maker::Put32(locator, 0x07064b50);
  zip_maker::Put32(locator, 0);
  zip_maker::Put32(locator, 0);
  zip_maker::Put32(locator, 0);
  zip_maker::Put32(locator, 1);
  const size_t end = bytes.size() - 22;
  return bytes.substr(0, end) + locator + bytes.substr(end);
}

std::string WithEndField(size_t offset, uint32_t value, int width) {
  std::string bytes = Plain();
  for (int i = 0; i < width; ++i) bytes[bytes.size() - 22 + offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
}

TEST(ZipArchive, RefusesWhatIsNotAPlainSingleVolumeArchive) {
  std::vector<Entry> many;
  for (uint64_t i = 0; i <= Zip::Archive::kMaxEntries; ++i) many.push_back(File(std::to_string(i) + ".e", "", false));
  const std::string plain = Plain();
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"text", "name,song\nopener,Opener\n"},
      {"truncated in the directory", plain.substr(0, plain.size() - 30)},
      {"truncated to half", plain.substr(0, plain.size() / 2)},
      {"zip64 locator", WithZip64Locator()},
      {"zip64 entry count", WithEndField(8, 0xFFFF, 2)},
      {"zip64 directory offset", WithEndField(16, 0xFFFFFFFF, 4)},
      {"split archive", WithEndField(4, 1, 2)},
      {"directory offset past the file", WithEndField(16, 0x00FFFFFF, 4)},
      {"too many entries", zip_maker::Archive(many)},
      {"two entries of one name", zip_maker::Archive({File("xl/a.xml", "1"), File("xl\\a.xml", "2")})},
  };
  for (const auto& c : cases) EXPECT_FALSE(Opens(c.bytes)) << c.what;
  EXPECT_TRUE(Opens(plain));
}

TEST(ZipArchive, FindsEntriesByNormalisedName) {
  const std::string bytes = zip_maker::Archive({File("xl\\Workbook.xml", "w"), File("/content.xml", "c")});
  Zip::Archive archive;
  ASSERT_TRUE(archive.Open(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
  EXPECT_TRUE(archive.Find("xl/Workbook.xml"));
  EXPECT_TRUE(archive.Find("xl/workbook.xml"));
  EXPECT_TRUE(archive.Find("content.xml"));
  EXPECT_FALSE(archive.Find("xl/sharedStrings.xml"));
}

TEST(ZipArchive, InflatesStoredAndDeflatedEntries) {
  const std::string big(200000, 'x');
  const std::string bytes = zip_maker::Archive({File("d", big), File("s", "stored bytes", false), File("empty", "")});
  Zip::Archive archive;
  ASSERT_TRUE(archive.Open(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
  bool ok;
  EXPECT_EQ(Inflate(archive, "d", ok), big);
  EXPECT_TRUE(ok);
  EXPECT_EQ(Inflate(archive, "s", ok), "stored bytes");
  EXPECT_TRUE(ok);
  EXPECT_EQ(Inflate(archive, "empty", ok), "");
  EXPECT_TRUE(ok);
}

TEST(ZipArchive, StopsEntriesThatInflatePastALimitOrAreDamaged) {
  // Zeros compress about 1030:1: past the ratio limit long before the absolute one.
  const std::string ratioBomb = zip_maker::DeflateRepeated(std::string(1 << 20, '\0'), 16);
  // Varied text compresses far less than 1000:1, so only the 256 MiB limit stops it.
  std::string varied;
  for (int i = 0; varied.size() < (1 << 20); ++i) varied += "<c r=\"A" + std::to_string(i * 7919 % 100003) + "\"/>";
  const std::string sizeBomb = zip_maker::DeflateRepeated(varied, (Zip::Archive::kMaxInflatedBytes >> 20) + 2);
  std::string damaged = zip_maker::Archive({File("x", "some text that has a checksum")});
  damaged[30 + 1 + 2] ^= 0x55;  // a byte inside the deflate data
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"ratio bomb", zip_maker::Archive({zip_maker::RawEntry("x", ratioBomb, 1000, 0)})},
      {"size bomb", zip_maker::Archive({zip_maker::RawEntry("x", sizeBomb, 1000, 0)})},
      {"bad crc", zip_maker::Archive({zip_maker::RawEntry("x", zip_maker::Deflate("text"), 4, 12345)})},
      {"damaged data", damaged},
  };
  for (const auto& c : cases) {
    Zip::Archive archive;
    ASSERT_TRUE(archive.Open(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size())) << c.what;
    bool ok = true;
    Inflate(archive, "x", ok, false);
    EXPECT_FALSE(ok) << c.what;
  }
}

TEST(ZipArchive, ReadWholeRefusesAnEntryLargerThanAsked) {
  const std::string bytes = zip_maker::Archive({File("a", std::string(5000, 'a'))});
  Zip::Archive archive;
  ASSERT_TRUE(archive.Open(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
  std::string out;
  EXPECT_FALSE(archive.ReadWhole(0, 4999, out));
  EXPECT_TRUE(archive.ReadWhole(0, 5000, out));
}

TEST(LockedFile, HoldsTheFileForOneOpenerAtATime) {
  zip_maker::ScratchDir dir;
  const std::string path = dir.Write("book.xlsx", Plain());
  LockedFile first, second;
  ASSERT_TRUE(first.Open(path));
  EXPECT_FALSE(second.Open(path));
  first.Close();
  EXPECT_TRUE(second.Open(path));
  std::vector<uint8_t> bytes;
  EXPECT_FALSE(second.ReadAll(10, bytes));
  EXPECT_TRUE(second.ReadAll(1 << 20, bytes));
  EXPECT_EQ(bytes.size(), Plain().size());
  EXPECT_FALSE(LockedFile().Open(dir.Write("", "")));  // a folder
  EXPECT_FALSE(LockedFile().Open(path + ".missing"));
}

}  // namespace
