#include "xls/xls_sheet.h"

#include <algorithm>

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

const XlsSheet::ExtraCells& XlsSheet::NoExtraCells() {
  static const ExtraCells none;
  return none;
}

XlsSheet::XlsSheet(XlsBook* o, int32_t index) : owner(o), sheetIndex(index) { UpdateCells(); }

int32_t XlsSheet::RowLength(int32_t row) const {
  return std::max(columnCount, rows[row].length);
}

XlsCell* XlsSheet::LoadedCell(int32_t row, uint16_t col) {
  std::vector<Slot>& cells = rows[row].cells;
  // Records come in column order almost always: appending is the common case.
  if (cells.empty() || cells.back().column < col) return &cells.emplace_back(Slot{col, XlsCell()}).cell;
  auto it = std::lower_bound(cells.begin(), cells.end(), col,
                             [](const Slot& s, uint16_t c) { return s.column < c; });
  if (it != cells.end() && it->column == col) return &it->cell;
  return &cells.insert(it, Slot{col, XlsCell()})->cell;
}

const XlsCell* XlsSheet::FindCell(int32_t row, uint16_t col) const {
  const GridRow& r = rows[row];
  auto it = std::lower_bound(r.cells.begin(), r.cells.end(), col,
                             [](const Slot& s, uint16_t c) { return s.column < c; });
  if (it != r.cells.end() && it->column == col) return &it->cell;
  if (!r.extra) return nullptr;
  auto e = r.extra->find(col);
  return e != r.extra->end() ? &e->second : nullptr;
}

void XlsSheet::CalculateDimension(const CompactCells& list) {
  int32_t highRow = 0, highColumn = 0;
  for (const CompactCell& cc : list.cells) {
    if (cc.code == RecordCode::kBlank || cc.code == RecordCode::kMulBlank) continue;
    int32_t c = cc.col;
    if (cc.code == RecordCode::kMulRK) {
      // The last column of the entries present, not the one the record claims.
      if (cc.run.count == 0) continue;
      c = static_cast<int32_t>(std::min<int64_t>(int64_t{cc.col} + cc.run.count - 1, kMaxColumn));
    }
    if (c > kMaxColumn) continue;  // outside the sheet: never part of the grid
    highRow = std::max<int32_t>(highRow, cc.row);
    highColumn = std::max(highColumn, c);
  }
  rowCount = highRow + 1;
  columnCount = highColumn + 1;
}

void XlsSheet::UpdateCells() {
  if (!owner || sheetIndex < 0 || sheetIndex >= owner->GetTotalWorkSheets()) return;
  const Worksheet& sheet = owner->recordSheets[sheetIndex];
  // A sheet read as record objects is flattened first; one read for the grid already is.
  CompactCells flattened;
  if (!sheet.compactCells)
    for (const RowBlock& block : sheet.cellTable.rowBlocks)
      for (const auto& cb : block.cellBlocks) flattened.Add(cb);
  const CompactCells& list = sheet.compactCells ? sheet.cells : flattened;
  const Workbook& globals = owner->globals;
  CalculateDimension(list);
  rows.clear();
  rows.resize(rowCount);
  // Size each row for the cells its records can set, so rows carry no growth slack.
  std::vector<uint32_t> perRow(rowCount, 0);
  for (const CompactCell& cc : list.cells) {
    if (cc.row >= rowCount) continue;
    if (cc.code == RecordCode::kMulRK || cc.code == RecordCode::kMulBlank)
      perRow[cc.row] += cc.run.count;
    else
      ++perRow[cc.row];
  }
  for (int32_t r = 0; r < rowCount; ++r) rows[r].cells.reserve(std::min<uint32_t>(perRow[r], kMaxColumn + 1));

  for (const CompactCell& cc : list.cells) {
    const int32_t r = cc.row;
    const int32_t c = cc.col;
    if (r >= rowCount || c >= columnCount) continue;
    switch (cc.code) {
      case RecordCode::kFormula: {
        XlsCell* cell = LoadedCell(r, c);
        cell->SetFormula(static_cast<const Formula&>(*list.whole[cc.value]->record));
        cell->SetXFormatIdx(cc.xf);
        break;
      }
      case RecordCode::kMulRK: {
        const int32_t lastColumn = cc.xf;
        for (uint32_t j = 0; j < cc.run.count; ++j) {
          const int32_t col = c + static_cast<int32_t>(j);
          if (col > lastColumn || col >= RowLength(r)) break;
          const MulRK::XFRK& e = list.rkEntries[cc.run.first + j];
          XlsCell* cell = LoadedCell(r, static_cast<uint16_t>(col));
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
          // Only this row grows; the sheet's column count stays.
          if (col >= RowLength(r)) rows[r].length = col + 1;
          LoadedCell(r, static_cast<uint16_t>(col))->SetXFormatIdx(list.blankEntries[cc.run.first + j]);
        }
        break;
      }
      case RecordCode::kLabelSST: {
        XlsCell* cell = LoadedCell(r, c);
        const auto& strings = globals.sst.strings;
        const auto& texts = globals.sst.texts;
        // An index past the table leaves the value as it was.
        if (globals.sst.compact) {
          if (cc.value < texts.size()) {
            if (const char16_t* w = texts.Wide(cc.value))
              cell->BorrowWString(w);
            else
              cell->BorrowString(texts.Narrow(cc.value));
          }
        } else if (cc.value < strings.size()) {
          const LargeString& s = strings[cc.value];
          if (s.IsWide())
            cell->SetWString(s.wideText.c_str());
          else
            cell->SetString(s.narrowText.c_str());
        }
        cell->SetXFormatIdx(cc.xf);
        break;
      }
      case RecordCode::kLabel:
      case RecordCode::kRString: {
        const LargeString& s = static_cast<const Label&>(*list.whole[cc.value]->record).text;
        XlsCell* cell = LoadedCell(r, c);
        if (s.IsWide())
          cell->SetWString(s.wideText.c_str());
        else
          cell->SetString(s.narrowText.c_str());
        cell->SetXFormatIdx(cc.xf);
        break;
      }
      case RecordCode::kBlank: LoadedCell(r, c)->SetXFormatIdx(cc.xf); break;
      case RecordCode::kNumber: {
        XlsCell* cell = LoadedCell(r, c);
        cell->SetDouble(cc.number);
        cell->SetXFormatIdx(cc.xf);
        break;
      }
      case RecordCode::kBoolErr: {
        XlsCell* cell = LoadedCell(r, c);
        if (cc.boolErr.error == 0) cell->SetInteger(cc.boolErr.value);
        cell->SetXFormatIdx(cc.xf);
        break;
      }
      case RecordCode::kRK: {
        XlsCell* cell = LoadedCell(r, c);
        cell->SetRKValue(cc.value);
        cell->SetXFormatIdx(cc.xf);
        break;
      }
      default: break;
    }
  }

  for (const Worksheet::MergedCell& m : sheet.mergedCells) {
    if (m.firstRow >= rowCount || m.firstColumn >= RowLength(m.firstRow)) continue;
    XlsCell* cell = LoadedCell(m.firstRow, m.firstColumn);
    cell->SetMergedRows(static_cast<uint16_t>(m.lastRow - m.firstRow + 1));
    cell->SetMergedColumns(static_cast<uint16_t>(m.lastColumn - m.firstColumn + 1));
  }
}

XlsCell* XlsSheet::Cell(int32_t row, int32_t col) {
  if (row < 0 || col < 0 || row > kMaxRow || col > kMaxColumn) return nullptr;
  if (col >= columnCount) {
    columnCount = col + 1;
    // Rows a MULBLANK stretched past the new width are cut back to it.
    for (GridRow& r : rows) {
      if (r.length <= columnCount) {
        r.length = 0;
        continue;
      }
      r.length = 0;
      while (!r.cells.empty() && r.cells.back().column >= columnCount) r.cells.pop_back();
    }
  }
  if (row >= rowCount) {
    rowCount = row + 1;
    rows.resize(rowCount);
  }
  if (const XlsCell* found = FindCell(row, static_cast<uint16_t>(col)))
    return const_cast<XlsCell*>(found);
  GridRow& r = rows[row];
  if (!r.extra) r.extra = std::make_unique<ExtraCells>();
  return &(*r.extra)[static_cast<uint16_t>(col)];
}

const XlsCell* XlsSheet::Cell(int32_t row, int32_t col) const {
  if (row < 0 || col < 0 || row >= rowCount || col >= columnCount) return nullptr;
  const XlsCell* found = FindCell(row, static_cast<uint16_t>(col));
  return found ? found : &EmptyCell();
}

uint16_t XlsSheet::GetColWidth(uint16_t col) const {
  for (const auto& info : columnInfo)
    if (info.firstColumn == col) return info.columnWidth;
  return 0;
}

const char* XlsSheet::GetAnsiSheetName() const { return owner ? owner->GetAnsiSheetName(sheetIndex) : nullptr; }

const char16_t* XlsSheet::GetUnicodeSheetName() const {
  return owner ? owner->GetUnicodeSheetName(sheetIndex) : nullptr;
}

}  // namespace Xls

namespace Xls {

bool XlsSheet::GetSheetName(char* buffer, size_t capacity) const {
  return owner && owner->GetSheetName(sheetIndex, buffer, capacity);
}

bool XlsSheet::GetSheetName(char16_t* buffer, size_t capacity) const {
  return owner && owner->GetSheetName(sheetIndex, buffer, capacity);
}

}  // namespace Xls
