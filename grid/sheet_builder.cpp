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

void SheetBuilder::Append(uint32_t row, const GridCell& cell) {
  auto& rows = sheet_.rows_;
  if (!ordered_) cellRows_.push_back(row);
  else if (rows.empty() || rows.back().row != row) rows.push_back({row, static_cast<uint32_t>(sheet_.cells_.size())});
  sheet_.cells_.push_back(cell);
}

void SheetBuilder::StopOrdering() {
  auto& rows = sheet_.rows_;
  const size_t count = sheet_.cells_.size();
  cellRows_.reserve(count + 1);
  for (size_t r = 0; r < rows.size(); ++r) {
    const size_t end = r + 1 < rows.size() ? rows[r + 1].first : count;
    cellRows_.insert(cellRows_.end(), end - rows[r].first, rows[r].row);
  }
  rows.clear();
  ordered_ = false;
}

size_t SheetBuilder::FirstOfLastRow(uint32_t row) const {
  const auto& cells = sheet_.cells_;
  if (ordered_) {
    const auto& rows = sheet_.rows_;
    return !rows.empty() && rows.back().row == row ? rows.back().first : cells.size();
  }
  size_t first = cells.size();
  while (first > 0 && cellRows_[first - 1] == row) --first;
  return first;
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
    if (row < lastRow_ || (row == lastRow_ && col < lastCol_)) StopOrdering();
  }
  if (!TakeBudget(1)) return false;
  Append(row, cell);
  lastRow_ = row;
  lastCol_ = col;
  return true;
}

bool SheetBuilder::RepeatLastRow(uint32_t row, uint32_t count) {
  auto& cells = sheet_.cells_;
  const size_t first = FirstOfLastRow(row);
  const size_t width = cells.size() - first;
  if (width == 0 || count == 0) return true;
  if (static_cast<uint64_t>(row) + count >= static_cast<uint64_t>(GridSheet::kMaxRows)) return false;
  if (!TakeBudget(static_cast<uint64_t>(width) * count)) return false;
  for (uint32_t k = 1; k <= count; ++k)
    for (size_t i = first; i < first + width; ++i) Append(row + k, GridCell(cells[i]));
  lastRow_ = row + count;
  return true;
}

bool SheetBuilder::ResolveShared(const std::vector<const char*>& strings) {
  auto& cells = sheet_.cells_;
  for (size_t i = 0; i < cells.size(); ++i) {
    GridCell& cell = cells[i];
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

void SheetBuilder::SortCells() {
  auto& cells = sheet_.cells_;
  auto& rows = sheet_.rows_;
  std::vector<uint32_t> order(cells.size());
  std::iota(order.begin(), order.end(), 0u);
  // Stable by position, so of two cells at one position the later one is kept.
  std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    return cellRows_[a] != cellRows_[b] ? cellRows_[a] < cellRows_[b] : cells[a].Column() < cells[b].Column();
  });
  CellBlocks sorted;
  rows.clear();
  for (size_t k = 0; k < order.size(); ++k) {
    const uint32_t i = order[k];
    if (k + 1 < order.size() && cellRows_[order[k + 1]] == cellRows_[i] &&
        cells[order[k + 1]].Column() == cells[i].Column())
      continue;
    if (rows.empty() || rows.back().row != cellRows_[i])
      rows.push_back({cellRows_[i], static_cast<uint32_t>(sorted.size())});
    sorted.push_back(cells[i]);
  }
  std::vector<uint32_t>().swap(order);
  std::vector<uint32_t>().swap(cellRows_);
  cells.Swap(sorted);
  ordered_ = true;
}

void SheetBuilder::Finish() {
  if (!ordered_) SortCells();
  // Drops the empty cells in place, and the rows left without any.
  auto& cells = sheet_.cells_;
  auto& rows = sheet_.rows_;
  uint32_t maxRow = notedMaxRow_, maxCol = notedMaxCol_;
  size_t kept = 0, keptRows = 0;
  for (size_t r = 0; r < rows.size(); ++r) {
    const size_t end = r + 1 < rows.size() ? rows[r + 1].first : cells.size();
    const size_t rowFirst = kept;
    for (size_t i = rows[r].first; i < end; ++i) {
      if (cells[i].Type() == CellUndefined) continue;
      if (kept != i) cells[kept] = cells[i];
      maxCol = std::max<uint32_t>(maxCol, cells[kept].Column());
      ++kept;
    }
    if (kept == rowFirst) continue;
    maxRow = std::max(maxRow, rows[r].row);
    rows[keptRows++] = {rows[r].row, static_cast<uint32_t>(rowFirst)};
  }
  rows.resize(keptRows);
  cells.Truncate(kept);
  sheet_.rowCount_ = static_cast<int32_t>(maxRow) + 1;
  sheet_.columnCount_ = static_cast<int32_t>(maxCol) + 1;
}

}  // namespace Grid
