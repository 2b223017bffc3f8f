// An .ods workbook: holds its file for exclusive use while loaded and keeps one sparse
// GridSheet per table of the spreadsheet, in document order, hidden ones included. The
// book owns the sheets and the texts their cells point at.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "grid/grid_sheet.h"
#include "lockedfile/locked_file.h"

namespace Ods {

class OdsBook {
 public:
  OdsBook() = default;
  OdsBook(const OdsBook&) = delete;
  OdsBook& operator=(const OdsBook&) = delete;

  // True once the file opened as a zip package (with no worksheets when it holds no
  // spreadsheet content), or as a compound file, which holds none. False for a file that is
  // missing, locked by another book, not a zip, damaged or over a limit; the sheets of an
  // earlier load then stay readable, and no file is held.
  bool Load(const std::string& filename);
  void Close() { file_.Close(); }

  int32_t GetTotalWorkSheets() const { return static_cast<int32_t>(sheets_.size()); }
  const Grid::GridSheet* GetWorksheet(int32_t sheetIndex) const;

 private:
  LockedFile file_;
  std::vector<std::unique_ptr<Grid::GridSheet>> sheets_;
};

}  // namespace Ods
