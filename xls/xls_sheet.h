// One loaded worksheet as a grid of typed cells, filled once from the record-level cell
// table. The grid reads as dense (rowCount x columnCount, every cell inside readable, empty
// ones as CellUndefined) but stores only the cells the file holds plus those a caller
// reached through the growing Cell, so memory follows the file, not rows x columns.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

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
    for (int32_t r = 0; r < rowCount && r < static_cast<int32_t>(rows.size()); ++r) {
      const GridRow& row = rows[r];
      const ExtraCells& extras = row.extra ? *row.extra : NoExtraCells();
      auto extra = extras.begin();
      for (const Slot& s : row.cells) {
        for (; extra != extras.end() && extra->first < s.column; ++extra)
          if (extra->first < columnCount) fn(r, int32_t{extra->first}, extra->second);
        if (s.column < columnCount) fn(r, int32_t{s.column}, s.cell);
      }
      for (; extra != extras.end(); ++extra)
        if (extra->first < columnCount) fn(r, int32_t{extra->first}, extra->second);
    }
  }

  std::vector<Worksheet::ColInfo> columnInfo;

 private:
  struct Slot {
    uint16_t column;
    XlsCell cell;
  };
  using ExtraCells = std::map<uint16_t, XlsCell>;
  static const ExtraCells& NoExtraCells();
  struct GridRow {
    std::vector<Slot> cells;              // cells from the file, columns ascending
    // Cells made by the growing Cell (stable addresses); rarely any, so only a pointer.
    std::unique_ptr<ExtraCells> extra;
    int32_t length = 0;                   // > columnCount when a MULBLANK stretched the row
  };

  void UpdateCells();
  void CalculateDimension(const CompactCells& list);
  XlsCell* LoadedCell(int32_t row, uint16_t col);       // made on demand while loading
  const XlsCell* FindCell(int32_t row, uint16_t col) const;
  int32_t RowLength(int32_t row) const;

  XlsBook* owner;
  int32_t sheetIndex;
  int32_t rowCount = 1;
  int32_t columnCount = 1;
  std::vector<GridRow> rows;
};

}  // namespace Xls
