// One worksheet of a modern workbook: the cells that hold something, stored sparsely in
// row-major order (memory follows the values, never rows x columns), with its own pool for
// texts that are not shared. Filled once by a SheetBuilder, then read-only; the book owns it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "grid/cell_blocks.h"
#include "grid/grid_cell.h"
#include "grid/text_pool.h"

namespace Grid {

class GridSheet {
 public:
  // The largest sheet the formats' own applications make.
  static constexpr int32_t kMaxRows = 1048576;
  static constexpr int32_t kMaxColumns = 16384;

  explicit GridSheet(std::string name = {}) : name_(std::move(name)) {}

  const std::string& Name() const { return name_; }
  // The last row (column) holding a value, plus one; 1 for a sheet without values.
  int32_t GetTotalRows() const { return rowCount_; }
  int32_t GetTotalCols() const { return columnCount_; }
  // The cell at (row, col): an empty CellUndefined one where nothing is stored; null only
  // outside the format's limits (negative, or past kMaxRows x kMaxColumns).
  const GridCell* Cell(int32_t row, int32_t col) const;
  size_t StoredCells() const { return cells_.size(); }

  // Calls fn(row, col, cell) for every stored cell, row by row, columns ascending.
  template <typename Fn>
  void ForEachStoredCell(Fn&& fn) const {
    for (size_t r = 0; r < rows_.size(); ++r) {
      const uint32_t end = r + 1 < rows_.size() ? rows_[r + 1].first : static_cast<uint32_t>(cells_.size());
      for (uint32_t i = rows_[r].first; i < end; ++i)
        fn(static_cast<int32_t>(rows_[r].row), static_cast<int32_t>(cells_[i].Column()), cells_[i]);
    }
  }

  TextPool& Texts() { return texts_; }

 private:
  friend class SheetBuilder;
  struct RowStart {
    uint32_t row;
    uint32_t first;  // index of the row's first cell in cells_
  };

  std::string name_;
  int32_t rowCount_ = 1;
  int32_t columnCount_ = 1;
  CellBlocks cells_;
  std::vector<RowStart> rows_;
  // The row found last: the builds read row after row, so most lookups start here.
  mutable size_t rowHint_ = 0;
  TextPool texts_;
};

}  // namespace Grid
