// The document as uploaded: every line kept, line ends dropped.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "upload/document_text.h"

namespace {

TEST(DocumentText, LinesAreJoinedWithoutTheirEnds) {
  EXPECT_EQ(JoinLines(""), "");
  EXPECT_EQ(JoinLines("{\"a\":1}"), "{\"a\":1}");
  EXPECT_EQ(JoinLines("{\"a\":1}\n"), "{\"a\":1}");      // an editor's final line break
  EXPECT_EQ(JoinLines("{\"a\":1}\r\n"), "{\"a\":1}");
  EXPECT_EQ(JoinLines("[1,\r\n2,\n3]\r\n\r\n"), "[1,2,3]");
  EXPECT_EQ(JoinLines("\n\n\n"), "");
}

TEST(DocumentText, CarriageReturnsNotBeforeALineFeedStay) {
  EXPECT_EQ(JoinLines("a\rb"), "a\rb");
  EXPECT_EQ(JoinLines("a\r"), "a\r");
  EXPECT_EQ(JoinLines("a\r\r\nb"), "a\rb");
}

TEST(DocumentText, ReadsTheFileInBinaryAndJoinsIt) {
  const std::string path = ::testing::TempDir() + "document_text_test.json";
  {
    std::ofstream out(path, std::ios::binary);
    out << "{\"x\":\"\xE9\x1A\"}\r\n\n";
  }
  std::string text = "stale";
  ASSERT_TRUE(ReadDocumentText(path, text));
  // Ctrl-Z and high bytes are ordinary data here.
  EXPECT_EQ(text, "{\"x\":\"\xE9\x1A\"}");
  std::remove(path.c_str());

  text = "stale";
  EXPECT_FALSE(ReadDocumentText(path, text));
  EXPECT_EQ(text, "stale");
  EXPECT_FALSE(ReadDocumentText("", text));

  const std::string folder = ::testing::TempDir() + "document_text_test.dir.json";
  ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
  EXPECT_FALSE(ReadDocumentText(folder, text));
  rmdir(folder.c_str());
}

}  // namespace
