// What `tallyform-cli inspect` reads from .xlsx files against openpyxl's reading of them
// (tests/tools/compare_cells.py): every workbook fixture and example cell for cell, sizes
// included; the public corpus (../shared/corpus/xlsx-public) with no crash or hang and its
// agreement printed.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/files.h"
#include "tests/support/run_script.h"

namespace {

using testing_support::CompareCells;
using testing_support::FilesWithExtension;
using testing_support::PythonHas;

const std::string kSource = TALLYFORM_SOURCE_DIR;

TEST(XlsxDifferential, FixturesAgreeWithOpenpyxl) {
  if (!PythonHas("openpyxl")) GTEST_SKIP() << "python3-openpyxl missing";
  std::vector<std::string> files = FilesWithExtension(kSource + "/tests/fixtures/workbooks", ".xlsx");
  for (const std::string& example : FilesWithExtension(kSource + "/examples", ".xlsx")) files.push_back(example);
  ASSERT_GE(files.size(), 10u);
  EXPECT_EQ(CompareCells("--strict", files).status, 0);
}

TEST(XlsxDifferential, PublicCorpusAgreesWithOpenpyxl) {
  std::vector<std::string> files = FilesWithExtension(kSource + "/../shared/corpus/xlsx-public", ".xlsx");
  for (const std::string& f : FilesWithExtension(kSource + "/../shared/corpus/xlsx-public", ".xlsm")) files.push_back(f);
  if (files.empty()) GTEST_SKIP() << "no corpus";
  if (!PythonHas("openpyxl")) GTEST_SKIP() << "python3-openpyxl missing";
  const testing_support::ScriptRun run = CompareCells("", files);
  EXPECT_EQ(run.status, 0) << "a file crashed or hung";
  unsigned long agree = 0, compared = 0;
  const auto at = run.report.rfind("agreement: ");
  ASSERT_NE(at, std::string::npos);
  ASSERT_EQ(std::sscanf(run.report.c_str() + at, "agreement: %lu / %lu", &agree, &compared), 2);
  EXPECT_GT(compared, 0u);
  EXPECT_GE(agree * 1000, compared * 999);
}

}  // namespace
