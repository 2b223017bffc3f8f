// An .xlsx or .xlsm workbook: holds its file for exclusive use while loaded and keeps one
// sparse GridSheet per worksheet, in workbook order (chart, dialog and macro sheets are not
// worksheets; hidden worksheets are). The shared strings are parsed on a second thread
// while the sheets are read. The book owns the sheets and every text their cells point at.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "grid/grid_sheet.h"
#include "grid/text_pool.h"
#include "lockedfile/locked_file.h"

namespace Xlsx {

class XlsxBook {
 public:
  XlsxBook() = default;
  XlsxBook(const XlsxBook&) = delete;
  XlsxBook& operator=(const XlsxBook&) = delete;

  // True once the file opened as a zip package (with no worksheets when it holds no
  // workbook part), or as a compound file: an encrypted package, which has none. False for
  // a file that is missing, locked by another book, not a zip, damaged or over a limit;
  // the sheets of an earlier load then stay readable, and no file is held.
  bool Load(const std::string& filename);
  void Close() { file_.Close(); }

  int32_t GetTotalWorkSheets() const { return static_cast<int32_t>(sheets_.size()); }
  // Null outside 0 .. GetTotalWorkSheets() - 1.
  const Grid::GridSheet* GetWorksheet(int32_t sheetIndex) const;

 private:
  LockedFile file_;
  std::unique_ptr<Grid::TextPool> sharedTexts_;
  std::vector<std::unique_ptr<Grid::GridSheet>> sheets_;
};

}  // namespace Xlsx
