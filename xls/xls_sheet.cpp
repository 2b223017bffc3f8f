#include "xls/xls_sheet.h"

#include <algorithm>
#include <array>
#include <bit>
#include <span>

#include "xls/xls_book.h"

namespace Xls {

namespace {
constexpr int32_t kMaxRow = 65535;
constexpr int32_t kMaxColumn = 255;

const XlsCell& EmptyCell() {
  static const XlsCell empty;
  return empty;
}
}  // namespace

XlsSheet::XlsSheet(XlsBook* o, int32_t index) : owner(o), sheetIndex(index) { UpdateCells(); }

std::pair<uint32_t, uint32_t> XlsSheet::LoadedRange(int32_t row, int32_t limit) const {
  if (row + 1 >= static_cast<int32_t>(rowStart.size())) return {0, 0};
  if (!cutRows.empty()) {
    auto cut = cutRows.find(row);
    if (cut != cutRows.end()) limit = std::min(limit, cut->second);
  }
  const uint32_t begin = rowStart[row];
  uint32_t end = rowStart[row + 1];
  while (end > begin && cells[end - 1].gridColumn >= limit) --end;  // only a stretched row has any
  return {begin, end};
}

const XlsCell* XlsSheet::FindCell(int32_t row, int32_t col) const {
  auto [begin, end] = LoadedRange(row, kMaxColumn + 1);
  const auto last = cells.begin() + end;
  const auto at = std::lower_bound(cells.begin() + begin, last, col,
                                   [](const XlsCell& cell, int32_t c) { return cell.gridColumn < c; });
  if (at != last && at->gridColumn == col) return &*at;
  if (extraCells.empty()) return nullptr;
  auto e = extraCells.find(ExtraKey(row, col));
  return e != extraCells.end() ? &e->second : nullptr;
}

void XlsSheet::CalculateDimension(const CompactCells& list) {
  rowCount = list.highRow + 1;
  columnCount = list.highColumn + 1;
}

namespace {

// One row of the grid while it is filled: a slot per column, so the records of the row
// apply in file order whatever columns they name, then the used slots move out ascending.
class RowAssembly {
 public:
  RowAssembly() : slots(kMaxColumn + 1) {}
  XlsCell* At(int32_t col) {
    used[col >> 6] |= uint64_t{1} << (col & 63);
    return &slots[col];
  }
  // Hands each used slot to place(cell, column), columns ascending, and empties it.
  template <typename Place>
  void MoveOut(Place&& place) {
    for (int word = 0; word < 4; ++word)
      for (uint64_t bits = used[word]; bits; bits &= bits - 1) {
        const int col = word * 64 + std::countr_zero(bits);
        place(std::move(slots[col]), col);
        slots[col] = XlsCell();
      }
    used = {};
  }

 private:
  std::vector<XlsCell> slots;
  std::array<uint64_t, 4> used{};
};

// Record indices grouped by row, in file order within a row. Records that already come row
// by row (as writers store them) are taken where they lie, each row a run of the list found
// as the rows are asked for; only a list out of order is sorted (stably, by counting) into
// `items`, with a table of where each row starts. Records `rowOf` gives -1 belong to no row:
// a run may hold some, and they are stepped over. The grouping walks the list once, calling
// onRecord(i, row) for each record of a row in file order, so that a caller learns what it
// needs of the rows in the same walk.
template <typename RowOf>
class ByRow {
 public:
  template <typename OnRecord>
  ByRow(int32_t rows, size_t count, RowOf rowOf, OnRecord&& onRecord) : rowOf(rowOf), count(count) {
    bool inOrder = true;
    int32_t last = 0;
    for (size_t i = 0; i < count; ++i)
      if (int32_t r = rowOf(i); r >= 0) {
        inOrder = inOrder && r >= last;
        last = r;
        onRecord(i, r);
      }
    if (inOrder) return;  // no table: each row's run is found by Row
    start.assign(static_cast<size_t>(rows) + 1, 0);
    for (size_t i = 0; i < count; ++i)
      if (int32_t r = rowOf(i); r >= 0) ++start[static_cast<size_t>(r) + 1];
    for (int32_t r = 0; r < rows; ++r) start[r + 1] += start[r];
    items.resize(start[rows]);
    std::vector<uint32_t> next(start.begin(), start.end() - 1);
    for (size_t i = 0; i < count; ++i)
      if (int32_t r = rowOf(i); r >= 0) items[next[r]++] = static_cast<uint32_t>(i);
  }

  // The record indices of one row, in file order.
  class Records {
   public:
    class Iterator {
     public:
      Iterator(const ByRow* by, size_t at, size_t end) : by(by), at(at), end(end) { Settle(); }
      uint32_t operator*() const { return static_cast<uint32_t>(by->Sorted() ? by->items[at] : at); }
      Iterator& operator++() {
        ++at;
        Settle();
        return *this;
      }
      bool operator!=(const Iterator& other) const { return at != other.at; }

     private:
      void Settle() {
        if (!by->Sorted())
          while (at < end && by->rowOf(at) < 0) ++at;
      }
      const ByRow* by;
      size_t at, end;
    };
    Iterator begin() const { return Iterator(by, first, last); }
    Iterator end() const { return Iterator(by, last, last); }
    bool empty() const { return !(begin() != end()); }
    const ByRow* by;
    size_t first, last;
  };
  // Every row is asked for once, in ascending order.
  Records Row(int32_t r) {
    if (Sorted()) return Records{this, start[r], start[r + 1]};
    const size_t first = runEnd;
    while (runEnd < count && rowOf(runEnd) <= r) ++runEnd;  // records of no row (-1) included
    return Records{this, first, runEnd};
  }

 private:
  bool Sorted() const { return !items.empty(); }
  RowOf rowOf;
  size_t count;
  std::vector<uint32_t> start;  // for a list out of order: rows + 1 entries
  std::vector<uint32_t> items;  // empty when the list is in row order
  size_t runEnd = 0;            // in row order: the end of the last run asked for
};

// Applies one cell record of a row to the cells `at(column)` gives, in the order the grid's
// loading defines; `length` is the row's length, which a MULBLANK may stretch.
template <typename At>
void ApplyRecord(const CompactCell& cc, const CompactCells& list, const Workbook::SharedStringTable& sst,
                 int32_t& length, At&& at) {
  const int32_t c = cc.col;
  switch (cc.code) {
    case RecordCode::kFormula: {
      XlsCell* cell = at(c);
      cell->SetFormula(static_cast<const Formula&>(*list.whole[cc.value]->record));
      cell->SetXFormatIdx(cc.xf);
      break;
    }
    case RecordCode::kMulRK: {
      const int32_t lastColumn = cc.xf;
      for (uint32_t j = 0; j < cc.run.count; ++j) {
        const int32_t col = c + static_cast<int32_t>(j);
        if (col > lastColumn || col >= length) break;
        const MulRK::XFRK& e = list.rkEntries[cc.run.first + j];
        XlsCell* cell = at(col);
        cell->SetRKValue(static_cast<uint32_t>(e.rkValue));
        cell->SetXFormatIdx(e.xfIndex);
      }
      break;
    }
    case RecordCode::kMulBlank: {
      const int32_t lastColumn = cc.xf;
      for (uint32_t j = 0; j < cc.run.count; ++j) {
        const int32_t col = c + static_cast<int32_t>(j);
        if (col > lastColumn || col > kMaxColumn) break;
        length = std::max(length, col + 1);
        at(col)->SetXFormatIdx(list.blankEntries[cc.run.first + j]);
      }
      break;
    }
    case RecordCode::kLabelSST: {
      XlsCell* cell = at(c);
      // An index past the table leaves the value as it was.
      if (cc.value < sst.texts.size()) {
        if (const char16_t* w = sst.texts.Wide(cc.value))
          cell->BorrowWString(w);
        else
          cell->BorrowString(sst.texts.Narrow(cc.value));
      }
      cell->SetXFormatIdx(cc.xf);
      break;
    }
    case RecordCode::kLabel:
    case RecordCode::kRString: {
      const LargeString& s = static_cast<const Label&>(*list.whole[cc.value]->record).text;
      XlsCell* cell = at(c);
      if (s.IsWide())
        cell->SetWString(s.wideText.c_str());
      else
        cell->SetString(s.narrowText.c_str());
      cell->SetXFormatIdx(cc.xf);
      break;
    }
    case RecordCode::kBlank: at(c)->SetXFormatIdx(cc.xf); break;
    case RecordCode::kNumber: {
      XlsCell* cell = at(c);
      cell->SetDouble(cc.number);
      cell->SetXFormatIdx(cc.xf);
      break;
    }
    case RecordCode::kBoolErr: {
      XlsCell* cell = at(c);
      if (cc.boolErr.error == 0) cell->SetInteger(cc.boolErr.value);
      cell->SetXFormatIdx(cc.xf);
      break;
    }
    case RecordCode::kRK: {
      XlsCell* cell = at(c);
      cell->SetRKValue(cc.value);
      cell->SetXFormatIdx(cc.xf);
      break;
    }
    default: break;
  }
}

}  // namespace

void XlsSheet::UpdateCells() {
  rowStart.assign(1, 0);
  if (!owner || sheetIndex < 0 || sheetIndex >= owner->GetTotalWorkSheets()) return;
  // The book reads its sheets into compact cell lists and its shared strings packed.
  const Worksheet& sheet = owner->recordSheets[sheetIndex];
  const CompactCells& list = sheet.cells;
  const Workbook::SharedStringTable& sst = owner->globals.sst;
  CalculateDimension(list);

  // Records outside the grid's rows and columns set nothing. While they are grouped, each
  // row learns the most cells it can hold (a cell per entry or merge, at most its width) and
  // whether its records each touch columns past those before them, so every cell is made
  // once, in column order, and can be appended as it comes.
  // Four bytes a row: these live beside the stream's pages that the grid will reuse.
  struct RowShape {
    uint16_t entries = 0;     // counted up to a row's width and one more
    int16_t lastColumn = -1;  // the last column the row's records touched so far, or kMixed
  };
  static constexpr uint16_t kWide = kMaxColumn + 2;
  constexpr int16_t kMixed = INT16_MAX;  // a record touched a column at or before an earlier one's
  // Kept as words in what becomes rowStart's storage once the walk is done: the grid's row
  // table then takes no pages of its own.
  std::vector<uint32_t> shapes(static_cast<size_t>(rowCount) + 1, std::bit_cast<uint32_t>(RowShape{}));
  const auto change = [&](int32_t r, auto&& edit) {
    RowShape shape = std::bit_cast<RowShape>(shapes[static_cast<size_t>(r)]);
    edit(shape);
    shapes[static_cast<size_t>(r)] = std::bit_cast<uint32_t>(shape);
  };
  const auto add = [](RowShape& shape, uint32_t span) {
    shape.entries = static_cast<uint16_t>(std::min<uint32_t>(shape.entries + std::min<uint32_t>(span, kWide), kWide));
  };
  ByRow records(rowCount, list.cells.size(), [&](size_t i) {
    const CompactCell& cc = list.cells[i];
    return cc.row < rowCount && cc.col < columnCount ? int32_t{cc.row} : -1;
  }, [&](size_t i, int32_t r) {
    const CompactCell& cc = list.cells[i];
    change(r, [&](RowShape& shape) {
      const bool multi = cc.code == RecordCode::kMulRK || cc.code == RecordCode::kMulBlank;
      add(shape, multi ? cc.run.count : 1);
      if (shape.lastColumn == kMixed) return;
      if (cc.col <= shape.lastColumn) {
        shape.lastColumn = kMixed;
        return;
      }
      // A grouped record's column is below the width (256 at most); a later one compares
      // alike with any last column from 256 on.
      shape.lastColumn = static_cast<int16_t>(
          multi ? std::min<int64_t>(int64_t{cc.col} + cc.run.count - 1, kMaxColumn + 1) : cc.col);
    });
  });
  const auto& merged = sheet.mergedCells;
  ByRow merges(rowCount, merged.size(), [&](size_t i) {
    return merged[i].firstRow < rowCount ? int32_t{merged[i].firstRow} : -1;
  }, [&](size_t, int32_t r) { change(r, [&](RowShape& shape) { add(shape, 1); }); });
  // Room for every cell at once, so the array never moves. Only the order of each row is kept
  // past this point: the shapes' words become the row table before the grid is made.
  size_t capacity = 0;
  std::vector<bool> ascending(static_cast<size_t>(rowCount));
  for (size_t r = 0; r < ascending.size(); ++r) {
    const RowShape shape = std::bit_cast<RowShape>(shapes[r]);
    capacity += std::min<uint32_t>(shape.entries, kMaxColumn + 1);
    ascending[r] = shape.lastColumn != kMixed;
  }
  rowStart.swap(shapes);
  rowStart.assign(1, 0);
  cells.reserve(capacity);

  RowAssembly assembly;
  for (int32_t r = 0; r < rowCount; ++r) {
    int32_t length = columnCount;  // a MULBLANK may stretch this row alone
    const auto rowRecords = records.Row(r);
    const auto rowMerges = merges.Row(r);
    if (rowMerges.empty() && ascending[static_cast<size_t>(r)]) {
      auto append = [&](int32_t col) {
        XlsCell* cell = &cells.emplace_back();
        cell->gridColumn = static_cast<uint8_t>(col);
        return cell;
      };
      for (uint32_t i : rowRecords) ApplyRecord(list.cells[i], list, sst, length, append);
    } else {
      auto slot = [&](int32_t col) { return assembly.At(col); };
      for (uint32_t i : rowRecords) ApplyRecord(list.cells[i], list, sst, length, slot);
      // Merged ranges apply after every cell record, to the row as the records left it.
      for (uint32_t i : rowMerges) {
        const Worksheet::MergedCell& m = merged[i];
        if (m.firstColumn >= length) continue;
        XlsCell* cell = assembly.At(m.firstColumn);
        cell->SetMergedRows(static_cast<uint16_t>(m.lastRow - m.firstRow + 1));
        cell->SetMergedColumns(static_cast<uint16_t>(m.lastColumn - m.firstColumn + 1));
      }
      assembly.MoveOut([&](XlsCell&& cell, int col) {
        cells.push_back(std::move(cell));
        cells.back().gridColumn = static_cast<uint8_t>(col);
      });
    }
    if (length > columnCount) stretchedRows.emplace(r, length);
    rowStart.push_back(static_cast<uint32_t>(cells.size()));
  }
}

XlsCell* XlsSheet::Cell(int32_t row, int32_t col) {
  if (row < 0 || col < 0 || row > kMaxRow || col > kMaxColumn) return nullptr;
  if (col >= columnCount) {
    columnCount = col + 1;
    // Rows a MULBLANK stretched past the new width are cut back to it.
    for (const auto& [r, length] : stretchedRows)
      if (length > columnCount) cutRows.emplace(r, columnCount);
    stretchedRows.clear();
  }
  rowCount = std::max(rowCount, row + 1);
  if (const XlsCell* found = FindCell(row, col)) return const_cast<XlsCell*>(found);
  return &extraCells[ExtraKey(row, col)];
}

const XlsCell* XlsSheet::Cell(int32_t row, int32_t col) const {
  if (row < 0 || col < 0 || row >= rowCount || col >= columnCount) return nullptr;
  const XlsCell* found = FindCell(row, col);
  return found ? found : &EmptyCell();
}

uint16_t XlsSheet::GetColWidth(uint16_t col) const {
  for (const auto& info : columnInfo)
    if (info.firstColumn == col) return info.columnWidth;
  return 0;
}

const char* XlsSheet::GetAnsiSheetName() const {
  return owner ? owner->GetAnsiSheetName(owner->SheetListEntry(sheetIndex)) : nullptr;
}

const char16_t* XlsSheet::GetUnicodeSheetName() const {
  return owner ? owner->GetUnicodeSheetName(owner->SheetListEntry(sheetIndex)) : nullptr;
}

}  // namespace Xls

namespace Xls {

bool XlsSheet::GetSheetName(char* buffer, size_t capacity) const {
  return owner && owner->GetSheetName(owner->SheetListEntry(sheetIndex), buffer, capacity);
}

bool XlsSheet::GetSheetName(char16_t* buffer, size_t capacity) const {
  return owner && owner->GetSheetName(owner->SheetListEntry(sheetIndex), buffer, capacity);
}

}  // namespace Xls
