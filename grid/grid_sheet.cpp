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
  const auto first = cells_.begin() + rows_[r].first;
  const auto last = r + 1 < rows_.size() ? cells_.begin() + rows_[r + 1].first : cells_.end();
  auto it = std::lower_bound(first, last, static_cast<uint16_t>(col),
                             [](const GridCell& c, uint16_t v) { return c.Column() < v; });
  return it != last && it->Column() == col ? &*it : &kEmptyCell;
}

}  // namespace Grid
