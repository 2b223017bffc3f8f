// Workbook streams of files written by LibreOffice, gnumeric and xlwt must come out byte for
// byte as olefile extracted them when the fixtures were made (workbook-streams.sha256).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/cfb/cfb_sha256.h"
#include "cfb/compound_file.h"

namespace {

struct Expected {
  std::string sha256;
  uint64_t size = 0;
  std::string file;
};

const std::string kFixtures = std::string(TALLYFORM_SOURCE_DIR) + "/tests/fixtures/";

std::vector<Expected> Manifest() {
  std::vector<Expected> all;
  std::ifstream in(kFixtures + "workbook-streams.sha256");
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    Expected e;
    fields >> e.sha256 >> e.size >> e.file;
    all.push_back(e);
  }
  return all;
}

TEST(CompoundFileFixtures, WorkbookStreamMatchesIndependentReader) {
  const std::vector<Expected> manifest = Manifest();
  ASSERT_GE(manifest.size(), 6u);
  bool sawMini = false, sawRegular = false;
  for (const Expected& e : manifest) {
    SCOPED_TRACE(e.file);
    Cfb::CompoundFile cf;
    ASSERT_TRUE(cf.Open(kFixtures + e.file));
    uint64_t size = 0;
    EXPECT_EQ(cf.FileSize("Workbook", size), Cfb::CfSuccess);
    EXPECT_EQ(size, e.size);
    std::vector<char> stream{'x'};
    ASSERT_EQ(cf.ReadFile("Workbook", stream), Cfb::CfSuccess);
    ASSERT_EQ(stream.size(), e.size);
    EXPECT_EQ(CfbTest::Sha256Hex(stream.data(), stream.size()), e.sha256);
    (e.size < 4096 ? sawMini : sawRegular) = true;

    // The buffer form reads a prefix, and a count past the end delivers the stream only.
    std::vector<char> prefix(100, 0);
    ASSERT_EQ(cf.ReadFile(u"Workbook", prefix.data(), 100), Cfb::CfSuccess);
    EXPECT_TRUE(std::equal(prefix.begin(), prefix.end(), stream.begin()));
    std::vector<char> over(e.size + 16, '\x5A');
    ASSERT_EQ(cf.ReadFile("Workbook", over.data(), static_cast<uint32_t>(over.size())), Cfb::CfSuccess);
    EXPECT_TRUE(std::equal(stream.begin(), stream.end(), over.begin()));
    EXPECT_EQ(over.back(), '\x5A');
    EXPECT_TRUE(cf.Close());
  }
  EXPECT_TRUE(sawMini) << "no fixture keeps its Workbook stream in the mini stream";
  EXPECT_TRUE(sawRegular) << "no fixture keeps its Workbook stream in regular sectors";
}

TEST(CompoundFileFixtures, OtherStreamsAndNamesOfRealFiles) {
  Cfb::CompoundFile cf;
  ASSERT_TRUE(cf.Open(kFixtures + "lo-small.xls"));
  uint64_t size = 0;
  // Names compare without regard to case; LibreOffice also writes the summary streams.
  EXPECT_EQ(cf.FileSize("WORKBOOK", size), Cfb::CfSuccess);
  EXPECT_EQ(cf.FileSize(u"\u0005SummaryInformation", size), Cfb::CfSuccess);
  EXPECT_GT(size, 0u);
  EXPECT_EQ(cf.FileSize("Book", size), Cfb::CfFailed);
  EXPECT_EQ(cf.FileSize("Workbook2", size), Cfb::CfFailed);
}

}  // namespace
