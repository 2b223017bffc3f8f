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
  auto e = r.extra.find(col);
  return e != r.extra.end() ? &e->second : nullptr;
}

void XlsSheet::CalculateDimension(const Worksheet& sheet) {
  int32_t highRow = 0, highColumn = 0;
  for (const RowBlock& block : sheet.cellTable.rowBlocks) {
    for (const auto& cb : block.cellBlocks) {
      if (!cb->record) continue;
      const uint16_t type = static_cast<uint16_t>(cb->type);
      if (type == RecordCode::kBlank || type == RecordCode::kMulBlank) continue;
      int32_t c = cb->ColIndex();
      if (type == RecordCode::kMulRK) {
        // The last column of the entries present, not the one the record claims.
        const auto& m = static_cast<const MulRK&>(*cb->record);
        if (m.entries.empty()) continue;
        c = std::min<int32_t>(m.firstColumn + static_cast<int32_t>(m.entries.size()) - 1, kMaxColumn);
      }
      if (c > kMaxColumn) continue;  // outside the sheet: never part of the grid
      highRow = std::max<int32_t>(highRow, cb->RowIndex());
      highColumn = std::max(highColumn, c);
    }
  }
  rowCount = highRow + 1;
  columnCount = highColumn + 1;
}

void XlsSheet::UpdateCells() {
  if (!owner || sheetIndex < 0 || sheetIndex >= owner->GetTotalWorkSheets()) return;
  const Worksheet& sheet = owner->recordSheets[sheetIndex];
  const Workbook& globals = owner->globals;
  CalculateDimension(sheet);
  rows.assign(rowCount, GridRow());
  // Size each row for the cells its records can set, so rows carry no growth slack.
  std::vector<uint32_t> perRow(rowCount, 0);
  for (const RowBlock& block : sheet.cellTable.rowBlocks) {
    for (const auto& cb : block.cellBlocks) {
      if (!cb->record || cb->RowIndex() >= rowCount) continue;
      const auto type = static_cast<uint16_t>(cb->type);
      if (type == RecordCode::kMulRK)
        perRow[cb->RowIndex()] += static_cast<uint32_t>(static_cast<const MulRK&>(*cb->record).entries.size());
      else if (type == RecordCode::kMulBlank)
        perRow[cb->RowIndex()] += static_cast<uint32_t>(static_cast<const MulBlank&>(*cb->record).xfIndices.size());
      else
        ++perRow[cb->RowIndex()];
    }
  }
  for (int32_t r = 0; r < rowCount; ++r) rows[r].cells.reserve(std::min<uint32_t>(perRow[r], kMaxColumn + 1));

  for (const RowBlock& block : sheet.cellTable.rowBlocks) {
    for (const auto& cb : block.cellBlocks) {
      if (!cb->record) continue;
      const int32_t r = cb->RowIndex();
      const int32_t c = cb->ColIndex();
      if (r >= rowCount || c >= columnCount) continue;
      const CellRecord& rec = *cb->record;
      switch (static_cast<uint16_t>(cb->type)) {
        case RecordCode::kFormula: {
          XlsCell* cell = LoadedCell(r, c);
          cell->SetFormula(static_cast<const Formula&>(rec));
          cell->SetXFormatIdx(rec.xfIndex);
          break;
        }
        case RecordCode::kMulRK: {
          const auto& m = static_cast<const MulRK&>(rec);
          for (size_t j = 0; j < m.entries.size(); ++j) {
            const int32_t col = c + static_cast<int32_t>(j);
            if (col > m.lastColumn || col >= RowLength(r)) break;
            XlsCell* cell = LoadedCell(r, static_cast<uint16_t>(col));
            cell->SetRKValue(static_cast<uint32_t>(m.entries[j].rkValue));
            cell->SetXFormatIdx(m.entries[j].xfIndex);
          }
          break;
        }
        case RecordCode::kMulBlank: {
          const auto& m = static_cast<const MulBlank&>(rec);
          for (size_t j = 0; j < m.xfIndices.size(); ++j) {
            const int32_t col = c + static_cast<int32_t>(j);
            if (col > m.lastColumn || col > kMaxColumn) break;
            // Only this row grows; the sheet's column count stays.
            if (col >= RowLength(r)) rows[r].length = col + 1;
            LoadedCell(r, static_cast<uint16_t>(col))->SetXFormatIdx(m.xfIndices[j]);
          }
          break;
        }
        case RecordCode::kLabelSST: {
          const auto& l = static_cast<const LabelSST&>(rec);
          XlsCell* cell = LoadedCell(r, c);
          const auto& strings = globals.sst.strings;
          // An index past the table leaves the value as it was.
          if (l.sstIndex < strings.size()) {
            const LargeString& s = strings[l.sstIndex];
            if (s.IsWide())
              cell->SetWString(s.wideText.c_str());
            else
              cell->SetString(s.narrowText.c_str());
          }
          cell->SetXFormatIdx(rec.xfIndex);
          break;
        }
        case RecordCode::kLabel:
        case RecordCode::kRString: {
          const LargeString& s = static_cast<const Label&>(rec).text;
          XlsCell* cell = LoadedCell(r, c);
          if (s.IsWide())
            cell->SetWString(s.wideText.c_str());
          else
            cell->SetString(s.narrowText.c_str());
          cell->SetXFormatIdx(rec.xfIndex);
          break;
        }
        case RecordCode::kBlank: LoadedCell(r, c)->SetXFormatIdx(rec.xfIndex); break;
        case RecordCode::kNumber: {
          XlsCell* cell = LoadedCell(r, c);
          cell->SetDouble(static_cast<const Number&>(rec).value);
          cell->SetXFormatIdx(rec.xfIndex);
          break;
        }
        case RecordCode::kBoolErr: {
          const auto& b = static_cast<const BoolErr&>(rec);
          XlsCell* cell = LoadedCell(r, c);
          if (b.error == 0) cell->SetInteger(b.value);
          cell->SetXFormatIdx(rec.xfIndex);
          break;
        }
        case RecordCode::kRK: {
          XlsCell* cell = LoadedCell(r, c);
          cell->SetRKValue(static_cast<const RK&>(rec).rkValue);
          cell->SetXFormatIdx(rec.xfIndex);
          break;
        }
        default: break;
      }
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
  return &rows[row].extra[static_cast<uint16_t>(col)];
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
