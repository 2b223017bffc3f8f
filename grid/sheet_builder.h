// Fills one GridSheet as a reader meets its cells: cells come in any order (last write wins
// for one position), are checked against the sheet limits and the book's LoadBudget, and
// are put in row-major order once, by Finish. The builder borrows the sheet and the budget.
#pragma once

#include <cstdint>
#include <vector>

#include "grid/grid_cell.h"
#include "grid/grid_sheet.h"
#include "grid/load_budget.h"

namespace Grid {

class SheetBuilder {
 public:
  SheetBuilder(GridSheet& sheet, LoadBudget& budget) : sheet_(sheet), budget_(budget) {}

  // False past the sheet limits or the cell budget (the load then fails).
  bool Add(uint32_t row, uint32_t col, GridCell cell);
  // A value that stores nothing (an error value) still sizes the sheet.
  bool NoteValue(uint32_t row, uint32_t col);
  // Copies the cells of `row`, which must be the last row added, to the `count` rows after it.
  bool RepeatLastRow(uint32_t row, uint32_t count);
  // Gives the cells that hold a shared-string index their text (an empty text leaves no
  // value); false when an index lies past the table.
  bool ResolveShared(const std::vector<const char*>& strings);
  // Orders the cells, drops empty ones and sizes the sheet from what is left.
  void Finish();

 private:
  GridSheet& sheet_;
  LoadBudget& budget_;
  // Cells are taken from the shared budget a block at a time.
  static constexpr uint64_t kBudgetBlock = 4096;
  bool TakeBudget(uint64_t count);
  void Append(uint32_t row, const GridCell& cell);
  // Cells come in row-major order from every writer seen; the first that does not turns
  // the sheet's row starts into a row per cell, sorted by Finish.
  void StopOrdering();
  void SortCells();
  size_t FirstOfLastRow(uint32_t row) const;
  uint64_t budgetLeft_ = 0;
  std::vector<uint32_t> cellRows_;  // the row of each cell, once they came out of order
  bool ordered_ = true;
  uint32_t lastRow_ = 0, lastCol_ = 0;
  uint32_t notedMaxRow_ = 0, notedMaxCol_ = 0;
};

}  // namespace Grid
