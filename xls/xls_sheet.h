// One loaded worksheet as a grid of typed cells, filled once from the record-level cell
// table. The grid reads as dense (rowCount x columnCount, every cell inside readable, empty
// ones as CellUndefined) but stores only the cells the file holds plus those a caller
// reached through the growing Cell, so memory follows the file, not rows x columns.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "xls/big_allocator.h"
#include "xls/ref_count.h"
#include "xls/worksheet.h"
#include "xls/xls_cell.h"

namespace Xls {

class XlsBook;

class XlsSheet : public RefCount::RefCnt {
 public:
  XlsSheet(XlsBook* owner, int32_t sheetIndex);

  int32_t GetTotalRows() const { return rowCount; }
  int32_t GetTotalCols() const { return columnCount; }
  // Grows the grid to include (row, col); null beyond row 65535 or column 255. The pointer
  // stays valid until a later call enlarges the grid.
  XlsCell* Cell(int32_t row, int32_t col);
  // Null outside the grid; an empty cell inside it is a shared CellUndefined.
  const XlsCell* Cell(int32_t row, int32_t col) const;
  uint16_t GetColWidth(uint16_t col) const;

  const char* GetAnsiSheetName() const;
  const char16_t* GetUnicodeSheetName() const;
  bool GetSheetName(char* buffer, size_t capacity) const;
  bool GetSheetName(char16_t* buffer, size_t capacity) const;

  // Calls fn(row, col, cell) for every stored cell inside the grid, row by row, columns
  // ascending; cells never stored are CellUndefined and are skipped.
  template <typename Fn>
  void ForEachStoredCell(Fn&& fn) const {
    auto extra = extraCells.begin();
    for (int32_t r = 0; r < rowCount; ++r) {
      auto [i, end] = LoadedRange(r, columnCount);
      const uint32_t rowEnd = ExtraKey(r + 1, 0);
      for (;;) {
        const bool haveExtra = extra != extraCells.end() && extra->first < rowEnd;
        if (i == end && !haveExtra) break;
        const int32_t extraColumn = haveExtra ? static_cast<int32_t>(extra->first & 0xFF) : 256;
        if (i < end && cells[i].gridColumn < extraColumn) {
          fn(r, int32_t{cells[i].gridColumn}, cells[i]);
          ++i;
        } else {
          if (extraColumn < columnCount) fn(r, extraColumn, extra->second);
          ++extra;
        }
      }
    }
  }

  std::vector<Worksheet::ColInfo> columnInfo;

 private:
  static uint32_t ExtraKey(int32_t row, int32_t col) {
    return static_cast<uint32_t>(row) << 8 | static_cast<uint32_t>(col);
  }

  void UpdateCells();
  void CalculateDimension(const CompactCells& list);
  // The loaded cells of `row` below column `limit` (and below the row's cut, if any), as
  // indices into `cells`.
  std::pair<uint32_t, uint32_t> LoadedRange(int32_t row, int32_t limit) const;
  const XlsCell* FindCell(int32_t row, int32_t col) const;

  XlsBook* owner;
  int32_t sheetIndex;
  int32_t rowCount = 1;
  int32_t columnCount = 1;
  // The cells the file holds, in one array ordered by row then column: those of a loaded
  // row r are cells[rowStart[r] .. rowStart[r + 1]), each with its column noted. Made once
  // by the load and never moved, so pointers into it stay valid.
  BigVector<XlsCell> cells;
  std::vector<uint32_t> rowStart;
  // Rows a MULBLANK stretched past columnCount, with their lengths, until columnCount grows;
  // then the cells a stretched row holds at or past the new width are dropped: `cutRows`
  // keeps that width for each such row.
  std::map<int32_t, int32_t> stretchedRows;
  std::map<int32_t, int32_t> cutRows;
  // Cells made by the growing Cell, keyed by ExtraKey (stable addresses); rarely any.
  std::map<uint32_t, XlsCell> extraCells;
};

}  // namespace Xls
