// Opening and closing: refused paths, read-only documents, the exclusive-use rule within one
// process and across processes, the Close/IsOpen lifecycle and how paths reach the file system.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/cfb/cfb_builder.h"
#include "cfb/compound_file.h"

namespace {

using CfbTest::Builder;
using CfbTest::Pattern;
using CfbTest::TempDir;

std::vector<uint8_t> SmallDoc() {
  Builder b(3);
  b.AddStream(u"Workbook", Pattern(700, 1));
  return b.Build();
}

TEST(CompoundFileOpen, RefusesWhatIsNoCompoundDocument) {
  TempDir dir;
  Cfb::CompoundFile cf;
  EXPECT_FALSE(cf.Open(dir.path() + "/missing.xls"));
  EXPECT_FALSE(cf.Open(std::string()));
  EXPECT_FALSE(cf.Open(dir.path()));  // a directory
  const std::string text = "Name,Patch\nIntro,12\n" + std::string(600, 'x');
  EXPECT_FALSE(cf.Open(dir.Write("text.xls", std::vector<uint8_t>(text.begin(), text.end()))));
  EXPECT_FALSE(cf.Open(dir.Write("empty.xls", {})));
  EXPECT_FALSE(cf.Open("/dev/null"));
  // A FIFO must be refused without waiting for a writer.
  const std::string fifo = dir.path() + "/pipe.xls";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(cf.Open(fifo));
  EXPECT_FALSE(cf.IsOpen());
}

TEST(CompoundFileOpen, ReadOnlyDocumentOpens) {
  TempDir dir;
  const std::string path = dir.Write("ro.xls", SmallDoc());
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  Cfb::CompoundFile cf;
  ASSERT_TRUE(cf.Open(path));
  std::vector<char> out;
  EXPECT_EQ(cf.ReadFile("Workbook", out), Cfb::CfSuccess);
  EXPECT_EQ(out.size(), 700u);
  // Still exclusive while open.
  Cfb::CompoundFile other;
  EXPECT_FALSE(other.Open(path));
}

TEST(CompoundFileOpen, CloseIsOpenAndOperationsWhileClosed) {
  TempDir dir;
  const std::string path = dir.Write("doc.xls", SmallDoc());
  Cfb::CompoundFile cf;
  EXPECT_FALSE(cf.IsOpen());
  EXPECT_FALSE(cf.Close());
  uint64_t size = 7;
  std::vector<char> out{'x'};
  char buffer[8];
  EXPECT_EQ(cf.FileSize("Workbook", size), Cfb::CfFailed);
  EXPECT_EQ(size, 7u);
  EXPECT_EQ(cf.ReadFile("Workbook", out), Cfb::CfFailed);
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(cf.ReadFile("Workbook", buffer, sizeof buffer), Cfb::CfFailed);

  ASSERT_TRUE(cf.Open(path));
  EXPECT_TRUE(cf.IsOpen());
  EXPECT_EQ(cf.ReadFile("Workbook", nullptr, 8), Cfb::CfFailed);
  EXPECT_EQ(cf.ReadFile("Workbook", nullptr, 0), Cfb::CfSuccess);
  EXPECT_TRUE(cf.Close());
  EXPECT_FALSE(cf.IsOpen());
  EXPECT_FALSE(cf.Close());
  EXPECT_EQ(cf.ReadFile("Workbook", out), Cfb::CfFailed);
}

TEST(CompoundFileOpen, ExclusiveWithinOneProcess) {
  TempDir dir;
  const std::string path = dir.Write("doc.xls", SmallDoc());
  Cfb::CompoundFile first, second;
  ASSERT_TRUE(first.Open(path));
  EXPECT_FALSE(second.Open(path));
  EXPECT_FALSE(second.Open(Cfb::widen_string(path)));
  EXPECT_FALSE(second.IsOpen());
  // Opening again with the holder itself replaces its document instead of stranding the lock.
  EXPECT_TRUE(first.Open(path));
  EXPECT_FALSE(second.Open(path));
  EXPECT_TRUE(first.Close());
  EXPECT_TRUE(second.Open(path));
  {
    Cfb::CompoundFile scoped;
    EXPECT_FALSE(scoped.Open(path));
    second.Close();
    EXPECT_TRUE(scoped.Open(path));
  }
  EXPECT_TRUE(first.Open(path));  // the destructor released it
  // A failed Open leaves the object closed, having let go of what it held.
  EXPECT_FALSE(first.Open(dir.path() + "/missing.xls"));
  EXPECT_FALSE(first.IsOpen());
  EXPECT_TRUE(second.Open(path));
}

// The child's exit code: 0 when Open gave the expected answer.
int ChildTriesOpen(const std::string& path, bool expected) {
  const pid_t pid = fork();
  if (pid == 0) {
    Cfb::CompoundFile cf;
    _exit(cf.Open(path) == expected ? 0 : 1);
  }
  int status = -1;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}

TEST(CompoundFileOpen, ExclusiveAcrossProcesses) {
  TempDir dir;
  const std::string path = dir.Write("doc.xls", SmallDoc());
  {
    Cfb::CompoundFile held;
    ASSERT_TRUE(held.Open(path));
    EXPECT_EQ(ChildTriesOpen(path, false), 0);
  }
  EXPECT_EQ(ChildTriesOpen(path, true), 0);

  // The other way round: a child holds the document until told to let go.
  int ready[2], release[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(release), 0);
  const pid_t pid = fork();
  if (pid == 0) {
    Cfb::CompoundFile cf;
    const char opened = cf.Open(path) ? 'y' : 'n';
    (void)!write(ready[1], &opened, 1);
    char go;
    (void)!read(release[0], &go, 1);
    cf.Close();
    (void)!write(ready[1], "c", 1);
    _exit(0);
  }
  char answer = 0;
  ASSERT_EQ(read(ready[0], &answer, 1), 1);
  EXPECT_EQ(answer, 'y');
  Cfb::CompoundFile parent;
  EXPECT_FALSE(parent.Open(path));
  ASSERT_EQ(write(release[1], "g", 1), 1);
  ASSERT_EQ(read(ready[0], &answer, 1), 1);
  EXPECT_TRUE(parent.Open(path));
  int status = -1;
  waitpid(pid, &status, 0);
  for (int fd : {ready[0], ready[1], release[0], release[1]}) close(fd);
}

TEST(CompoundFileOpen, PathsReachTheFileSystemAsDocumented) {
  TempDir dir;
  // A UTF-8 file name: 8-bit form as is, 16-bit form (beyond Latin-1) encoded as UTF-8.
  const std::string utf8 = dir.Write("set\xCE\xA9-\xF0\x9F\x8E\xB8.xls", SmallDoc());
  const std::u16string wideDir = Cfb::widen_string(dir.path());
  Cfb::CompoundFile cf;
  EXPECT_TRUE(cf.Open(utf8));
  EXPECT_TRUE(cf.Open(wideDir + u"/set\u03A9-\U0001F3B8.xls"));
  // A Latin-1 byte name: widen_string's units narrow back to the same bytes.
  const std::string latin1 = dir.Write("caf\xE9.xls", SmallDoc());
  EXPECT_TRUE(cf.Open(latin1));
  EXPECT_TRUE(cf.Open(Cfb::widen_string(latin1)));
  EXPECT_TRUE(cf.Open(wideDir + u"/caf\u00E9.xls"));
  // Units that name no file.
  EXPECT_FALSE(cf.Open(wideDir + u"/set\xD800.xls"));
  EXPECT_FALSE(cf.Open(latin1 + std::string(1, '\0') + "tail"));
  EXPECT_FALSE(cf.IsOpen());
}

TEST(CompoundFileOpen, WidenStringMapsEachByteToItsUnit) {
  EXPECT_EQ(Cfb::widen_string(""), u"");
  EXPECT_EQ(Cfb::widen_string("Workbook"), u"Workbook");
  EXPECT_EQ(Cfb::widen_string("\xE9\xFF\x80"), u"\u00E9\u00FF\u0080");
}

}  // namespace
