// Differential checks against Python's xlrd (tests/xls/compare_with_xlrd.py): the fixtures
// must agree cell for cell; every file of the public corpus must load without a crash, hang
// or runaway memory, and its agreement figure is printed. And openpyxl's reading of the
// .xlsx workbook fixtures (tests/tools/compare_cells.py) against ours of their .xls twins.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/files.h"
#include "tests/support/run_script.h"

namespace {

using testing_support::CompareCells;
using testing_support::FilesWithExtension;
using testing_support::kSanitized;
using testing_support::PythonHas;
using testing_support::RunScript;

const std::string kSource = TALLYFORM_SOURCE_DIR;

std::vector<std::string> XlsFiles(const std::string& dir) { return FilesWithExtension(dir, ".xls"); }

int Compare(const std::vector<std::string>& files, bool strict) {
  std::string cmd = "/usr/bin/python3 " + kSource + "/tests/xls/compare_with_xlrd.py --cli " TALLYFORM_CLI;
  if (kSanitized) cmd += " --sanitized";
  if (strict) cmd += " --strict";
  return RunScript(cmd, files).status;
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
    for (const std::string& xlsx : FilesWithExtension(kSource + dir, ".xlsx")) {
      const std::string xls = std::filesystem::path(xlsx).replace_extension(".xls").string();
      if (std::filesystem::exists(xls)) twins.push_back(xls + "=" + xlsx);
    }
  ASSERT_GE(twins.size(), 6u);
  EXPECT_EQ(CompareCells("--strict", twins).status, 0);
}

TEST(XlrdDifferential, PublicCorpusLoadsAndAgreementIsReported) {
  const std::string corpus = kSource + "/../shared/corpus/xls-public";
  if (!std::filesystem::is_directory(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
  if (!PythonHas("xlrd")) GTEST_SKIP() << "python3-xlrd missing";
  EXPECT_EQ(Compare(XlsFiles(corpus), false), 0);
}
