#include "grid/sheet_builder.h"

#include <algorithm>
#include <numeric>

namespace Grid {

namespace {

bool InsideSheet(uint32_t row, uint32_t col) {
  return row < static_cast<uint32_t>(GridSheet::kMaxRows) && col < static_cast<uint32_t>(GridSheet::kMaxColumns);
}

}  // namespace

bool SheetBuilder::TakeBudget(uint64_t count) {
  if (count <= budgetLeft_) {
    budgetLeft_ -= count;
    return true;
  }
  const uint64_t need = count - budgetLeft_;
  if (budget_.TakeCells(std::max(need, kBudgetBlock))) {
    budgetLeft_ = std::max(need, kBudgetBlock) - need;
    return true;
  }
  if (!budget_.TakeCells(need)) return false;
  budgetLeft_ = 0;
  return true;
}

bool SheetBuilder::NoteValue(uint32_t row, uint32_t col) {
  if (!InsideSheet(row, col)) return false;
  notedMaxRow_ = std::max(notedMaxRow_, row);
  notedMaxCol_ = std::max(notedMaxCol_, col);
  return true;
}

bool SheetBuilder::Add(uint32_t row, uint32_t col, GridCell cell) {
  if (!InsideSheet(row, col)) return false;
  cell.SetColumn(static_cast<uint16_t>(col));
  auto& cells = sheet_.cells_;
  if (!cells.empty() && ordered_) {
    if (row == lastRow_ && col == lastCol_) {
      cells.back() = cell;  // the same position again: the later value wins
      return true;
    }
    if (row < lastRow_ || (row == lastRow_ && col < lastCol_)) ordered_ = false;
  }
  if (!TakeBudget(1)) return false;
  cells.push_back(cell);
  cellRows_.push_back(row);
  lastRow_ = row;
  lastCol_ = col;
  return true;
}

bool SheetBuilder::RepeatLastRow(uint32_t row, uint32_t count) {
  auto& cells = sheet_.cells_;
  size_t first = cells.size();
  while (first > 0 && cellRows_[first - 1] == row) --first;
  const size_t width = cells.size() - first;
  if (width == 0 || count == 0) return true;
  if (static_cast<uint64_t>(row) + count >= static_cast<uint64_t>(GridSheet::kMaxRows)) return false;
  if (!TakeBudget(static_cast<uint64_t>(width) * count)) return false;
  cells.reserve(cells.size() + width * count);
  cellRows_.reserve(cells.size() + width * count);
  for (uint32_t k = 1; k <= count; ++k)
    for (size_t i = first; i < first + width; ++i) {
      cells.push_back(cells[i]);
      cellRows_.push_back(row + k);
    }
  lastRow_ = row + count;
  return true;
}

bool SheetBuilder::ResolveShared(const std::vector<const char*>& strings) {
  for (GridCell& cell : sheet_.cells_) {
    if (cell.Holds() != Payload::kSharedText) continue;
    if (cell.SharedIndex() >= strings.size()) return false;
    const char* text = strings[cell.SharedIndex()];
    if (*text == '\0' && cell.Type() == CellString)
      cell = GridCell();  // an empty text is no value; Finish drops the cell
    else
      cell.ResolveShared(text);
  }
  return true;
}

void SheetBuilder::Finish() {
  auto& cells = sheet_.cells_;
  std::vector<uint32_t> order(cells.size());
  std::iota(order.begin(), order.end(), 0u);
  if (!ordered_) {
    // Stable by position, so of two cells at one position the later one is kept.
    std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
      return cellRows_[a] != cellRows_[b] ? cellRows_[a] < cellRows_[b] : cells[a].Column() < cells[b].Column();
    });
  }
  std::vector<GridCell> kept;
  std::vector<uint32_t> rows;
  kept.reserve(cells.size());
  rows.reserve(cells.size());
  for (size_t k = 0; k < order.size(); ++k) {
    const uint32_t i = order[k];
    if (k + 1 < order.size() && cellRows_[order[k + 1]] == cellRows_[i] &&
        cells[order[k + 1]].Column() == cells[i].Column())
      continue;
    if (cells[i].Type() == CellUndefined) continue;
    kept.push_back(cells[i]);
    rows.push_back(cellRows_[i]);
  }
  std::vector<uint32_t>().swap(order);
  std::vector<uint32_t>().swap(cellRows_);
  std::vector<GridCell>().swap(cells);
  cells.swap(kept);
  uint32_t maxRow = notedMaxRow_, maxCol = notedMaxCol_;
  auto& starts = sheet_.rows_;
  starts.clear();
  for (size_t i = 0; i < cells.size(); ++i) {
    if (i == 0 || rows[i] != rows[i - 1]) starts.push_back({rows[i], static_cast<uint32_t>(i)});
    maxCol = std::max<uint32_t>(maxCol, cells[i].Column());
  }
  if (!rows.empty()) maxRow = std::max(maxRow, rows.back());
  starts.shrink_to_fit();
  sheet_.rowCount_ = static_cast<int32_t>(maxRow) + 1;
  sheet_.columnCount_ = static_cast<int32_t>(maxCol) + 1;
}

}  // namespace Grid
