#include "grid/grid_sheet.h"

#include <algorithm>

namespace Grid {
namespace {

const GridCell kEmptyCell;

}  // namespace

const GridCell* GridSheet::Cell(int32_t row, int32_t col) const {
  if (row < 0 || col < 0 || row >= kMaxRows || col >= kMaxColumns) return nullptr;
  const auto wanted = static_cast<uint32_t>(row);
  size_t r = rowHint_;
  if (r >= rows_.size() || rows_[r].row != wanted) {
    if (r + 1 < rows_.size() && rows_[r + 1].row == wanted) {
      ++r;
    } else {
      auto it = std::lower_bound(rows_.begin(), rows_.end(), wanted,
                                 [](const RowStart& s, uint32_t v) { return s.row < v; });
      if (it == rows_.end() || it->row != wanted) return &kEmptyCell;
      r = static_cast<size_t>(it - rows_.begin());
    }
  }
  rowHint_ = r;
  size_t first = rows_[r].first;
  size_t last = r + 1 < rows_.size() ? rows_[r + 1].first : cells_.size();
  while (first < last) {  // the row's first cell at or past `col`
    const size_t middle = first + (last - first) / 2;
    if (cells_[middle].Column() < col) first = middle + 1;
    else last = middle;
  }
  const size_t end = r + 1 < rows_.size() ? rows_[r + 1].first : cells_.size();
  return first < end && cells_[first].Column() == col ? &cells_[first] : &kEmptyCell;
}

}  // namespace Grid
