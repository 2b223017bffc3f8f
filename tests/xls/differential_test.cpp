// Differential checks against Python's xlrd (tests/xls/compare_with_xlrd.py): the fixtures
// must agree cell for cell; every file of the public corpus must load without a crash, hang
// or runaway memory, and its agreement figure is printed. And openpyxl's reading of the
// .xlsx workbook fixtures (scripts/openpyxl-dump) against ours of their .xls twins.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

const std::string kSource = TALLYFORM_SOURCE_DIR;

bool PythonHas(const char* modules) {
  const std::string cmd = std::string("/usr/bin/python3 -c 'import ") + modules + "' >/dev/null 2>&1";
  return std::system(cmd.c_str()) == 0;
}

std::vector<std::string> FilesOf(const std::string& dir, const char* extension) {
  std::vector<std::string> files;
  for (const auto& e : std::filesystem::directory_iterator(dir))
    if (e.path().extension() == extension) files.push_back(e.path().string());
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<std::string> XlsFiles(const std::string& dir) { return FilesOf(dir, ".xls"); }

// Runs a comparison script; returns its exit status and prints its report.
int RunScript(std::string cmd, const std::vector<std::string>& files) {
  for (const auto& f : files) cmd += " '" + f + "'";
  cmd += " 2>&1";
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return -1;
  char buf[4096];
  std::string out;
  while (fgets(buf, sizeof buf, p)) out += buf;
  const int status = pclose(p);
  std::printf("%s", out.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int Compare(const std::vector<std::string>& files, bool strict) {
  std::string cmd = "/usr/bin/python3 " + kSource + "/tests/xls/compare_with_xlrd.py --cli " TALLYFORM_CLI;
  if (kSanitized) cmd += " --sanitized";
  if (strict) cmd += " --strict";
  return RunScript(cmd, files);
}

}  // namespace

TEST(XlrdDifferential, FixturesAgreeCellForCell) {
  if (!PythonHas("xlrd")) GTEST_SKIP() << "python3-xlrd missing";
  EXPECT_EQ(Compare(XlsFiles(kSource + "/tests/xls/data"), true), 0);
  EXPECT_EQ(Compare(XlsFiles(kSource + "/tests/fixtures/workbooks"), true), 0);
}

// The .xlsx fixtures and examples that have an .xls twin holding the same table.
TEST(OpenpyxlDifferential, XlsxFixturesReadAsTheirXlsTwins) {
  if (!PythonHas("openpyxl")) GTEST_SKIP() << "python3-openpyxl missing";
  std::vector<std::string> twins;
  for (const char* dir : {"/tests/fixtures/workbooks", "/examples"})
    for (const std::string& xlsx : FilesOf(kSource + dir, ".xlsx"))
      if (std::filesystem::exists(std::filesystem::path(xlsx).replace_extension(".xls"))) twins.push_back(xlsx);
  ASSERT_GE(twins.size(), 6u);
  EXPECT_EQ(RunScript("/usr/bin/python3 " + kSource + "/tests/xls/compare_with_openpyxl.py --cli " TALLYFORM_CLI, twins), 0);
}

TEST(XlrdDifferential, PublicCorpusLoadsAndAgreementIsReported) {
  const std::string corpus = kSource + "/../shared/corpus/xls-public";
  if (!std::filesystem::is_directory(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
  if (!PythonHas("xlrd")) GTEST_SKIP() << "python3-xlrd missing";
  EXPECT_EQ(Compare(XlsFiles(corpus), false), 0);
}
