// What `tallyform-cli inspect` reads from the .ods fixtures against the same table saved by
// LibreOffice as .xls (NAME.ods.xls) and read by our .xls reader, itself checked against
// xlrd: sizes and values cell for cell (tests/tools/compare_cells.py), but for the cells
// the .xls copy cannot hold as the .ods does, named below with the reason.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/files.h"
#include "tests/support/run_script.h"

namespace {

TEST(OdsDifferential, FixturesAgreeWithTheirXlsTwins) {
  const std::string source = TALLYFORM_SOURCE_DIR;
  std::vector<std::string> pairs;
  for (const std::string& ods : testing_support::FilesWithExtension(source + "/tests/fixtures/workbooks", ".ods")) {
    if (std::filesystem::exists(ods + ".xls")) pairs.push_back(ods + "=" + ods + ".xls");
  }
  ASSERT_GE(pairs.size(), 5u);
  pairs.push_back(source + "/examples/settings.ods=" + source + "/examples/settings.xls");
  const char* const known[] = {
      // A formula's text result: LibreOffice's .xls keeps 0 for it (xlrd reads 0 too).
      "gnumeric-values.ods:0:1:2",
      "lo-values.ods:0:2:2",
      // gnumeric stores 1/0's result as the text "#DIV/0!"; LibreOffice makes it an error.
      "gnumeric-values.ods:0:4:2",
      // LibreOffice drops a cell's tabs and line breaks (not its paragraphs) on loading.
      "gnumeric-values.ods:0:15:1",
      "sheetjs-values.ods:0:15:1",
      // A date is its ISO text in an .ods and its serial number in an .xls.
      "lo-values.ods:0:18:1",
      "sheetjs-values.ods:0:6:2",
  };
  std::string options = "--strict";
  for (const char* cell : known) options += std::string(" --expect-difference ") + cell;
  EXPECT_EQ(testing_support::CompareCells(options, pairs).status, 0);
}

}  // namespace
