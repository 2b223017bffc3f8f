#include "xls/worksheet.h"

#include <algorithm>

namespace Xls {

uint32_t Worksheet::Index::Read(ByteSpan bytes) {
  const uint32_t n = Record::Read(bytes);
  const ByteSpan d = Data();
  reserved = d.U32(0);
  firstUsedRow = d.U32(4);
  firstRowAfterLast = d.U32(8);
  reserved2 = d.U32(12);
  // The declared block count is not trusted: only the positions present are kept.
  dbCellPositions.clear();
  for (size_t off = 16; off + 4 <= d.size(); off += 4) dbCellPositions.push_back(d.U32(off));
  return n;
}

uint32_t Worksheet::ColInfo::Read(ByteSpan bytes) {
  const uint32_t n = Record::Read(bytes);
  const ByteSpan d = Data();
  firstColumn = d.U16(0);
  lastColumn = d.U16(2);
  columnWidth = d.U16(4);
  xfIndex = d.U16(6);
  options = d.U16(8);
  reserved = d.U16(10);
  return n;
}

uint32_t Worksheet::ColInfos::Read(ByteSpan bytes) { return colInfoList.emplace_back().Read(bytes); }

uint32_t Worksheet::Dimensions::Read(ByteSpan bytes) {
  const uint32_t n = Record::Read(bytes);
  const ByteSpan d = Data();
  firstUsedRow = d.U32(0);
  lastUsedRowPlusOne = d.U32(4);
  firstUsedColumn = d.U16(8);
  lastUsedColumnPlusOne = d.U16(10);
  reserved = d.U16(12);
  return n;
}

uint32_t Worksheet::Window2::Read(ByteSpan bytes) {
  const uint32_t n = Record::Read(bytes);
  const ByteSpan d = Data();
  uint16_t* fields[] = {&options, &firstVisibleRow, &firstVisibleColumn, &gridLineColourIndex,
                        &reserved, &pageBreakPreviewMagnification, &normalViewMagnification};
  for (size_t i = 0; i < 7; ++i) *fields[i] = d.U16(2 * i);
  reserved2 = d.U32(14);
  return n;
}

uint32_t Worksheet::MergedCell::Read(ByteSpan bytes) {
  firstRow = bytes.U16(0);
  lastRow = bytes.U16(2);
  firstColumn = bytes.U16(4);
  lastColumn = bytes.U16(6);
  return 8;
}

uint32_t Worksheet::MergedCells::Read(ByteSpan bytes) {
  size_t pos = 0;
  while (pos < bytes.size() && bytes.U16(pos) == RecordCode::kMergedCells) {
    Record record;
    const uint32_t used = record.Read(bytes.Sub(pos));
    const ByteSpan d = record.Data();
    const size_t count = std::min<size_t>(d.U16(0), d.size() >= 2 ? (d.size() - 2) / 8 : 0);
    for (size_t i = 0; i < count; ++i) emplace_back().Read(d.Sub(2 + 8 * i, 8));
    pos += used;
  }
  return static_cast<uint32_t>(pos);
}

uint32_t Worksheet::Read(ByteSpan bytes) {
  cellTable.sink = compactCells ? &cells : nullptr;
  if (compactCells) {
    // The most entries the sheet's bytes can hold (a cell record takes 10 bytes at least, a
    // MULRK entry 6), so that a large sheet's lists are mapped before the first is added
    // instead of filling heap pages one by one and moving. Only a hint: lists past it grow.
    const size_t sheetBytes = std::min<size_t>(expectedBytes ? expectedBytes : bytes.size(), bytes.size());
    cells.cells.reserve(sheetBytes / 10);
    cells.rkEntries.reserve(sheetBytes / 6);
  }
  const uint32_t used = ReadRecords(bytes);
  // The sink is this object's own list: no pointer to it may outlive the read (a copy or
  // move of the sheet would leave it behind).
  cellTable.sink = nullptr;
  for (RowBlock& block : cellTable.rowBlocks) block.sink = nullptr;
  // Growth slack of the small list would stay for the life of the book; the large ones are
  // mapped, and pages never touched take no memory.
  if (compactCells) {
    cells.blankEntries.shrink_to_fit();
    cells.cells.shrink_to_fit();
    cells.rkEntries.shrink_to_fit();
  }
  return used;
}

uint32_t Worksheet::ReadRecords(ByteSpan bytes) {
  size_t pos = 0;
  bool sawBof = false;
  RowBlock* loose = nullptr;  // collects cell records met outside any row block
  while (pos < bytes.size()) {
    const ByteSpan at = bytes.Sub(pos);
    const uint16_t code = at.U16(0);
    if (code == RecordCode::kEof) return static_cast<uint32_t>(pos + EofSize(at));
    uint32_t used = 0;
    if (code == RecordCode::kBOF && !sawBof) {
      sawBof = true;
      used = bof.Read(at);
    } else if (code == RecordCode::kBOF) {
      // The next sheet's BOF: this one ended without its EOF. Any other BOF opens an
      // embedded chart, whose records are the chart's own.
      if (OpensTopLevelSubstream(at)) return static_cast<uint32_t>(pos);
      used = SkipSubstream(at);
    } else if (code == RecordCode::kRow) {
      loose = nullptr;
      try {
        used = cellTable.Read(at);
      } catch (const EofInRowBlock& e) {
        return static_cast<uint32_t>(std::min(bytes.size(), pos + e.bytesRead));
      }
    } else if (IsCellCode(code)) {
      if (!loose) {
        loose = &cellTable.rowBlocks.emplace_back();
        loose->sink = cellTable.sink;
      }
      used = loose->ReadLooseCell(at);
    } else {
      switch (code) {
        case RecordCode::kIndex: used = index.Read(at); break;
        case RecordCode::kColInfo: used = colInfos.Read(at); break;
        case RecordCode::kDimensions: used = dimensions.Read(at); break;
        case RecordCode::kWindow2: used = window2.Read(at); break;
        case RecordCode::kMergedCells: used = mergedCells.Read(at); break;
        case RecordCode::kWsBool:
          dialogSheet = (at.Sub(4, at.U16(2)).U16(0) & kDialogBit) != 0;
          used = Record::Skip(at);
          break;
        default: used = Record::Skip(at); break;
      }
    }
    pos += used;
  }
  return static_cast<uint32_t>(pos);
}

}  // namespace Xls
