#include "xls/row_block.h"

#include "xls/compact_cells.h"

namespace Xls {

void CellBlock::Reset() {
  record.reset();
  type = -1;
}

void CellBlock::SetType(int16_t newType) {
  if (newType == type) return;
  Reset();
  type = newType;
  switch (static_cast<uint16_t>(newType)) {
    case RecordCode::kFormula: record = std::make_unique<Formula>(); break;
    case RecordCode::kMulRK: record = std::make_unique<MulRK>(); break;
    case RecordCode::kMulBlank: record = std::make_unique<MulBlank>(); break;
    case RecordCode::kLabelSST: record = std::make_unique<LabelSST>(); break;
    case RecordCode::kBlank: record = std::make_unique<Blank>(); break;
    case RecordCode::kNumber: record = std::make_unique<Number>(); break;
    case RecordCode::kBoolErr: record = std::make_unique<BoolErr>(); break;
    case RecordCode::kRK: record = std::make_unique<RK>(); break;
    case RecordCode::kLabel: record = std::make_unique<Label>(RecordCode::kLabel); break;
    case RecordCode::kRString: record = std::make_unique<Label>(RecordCode::kRString); break;
    default: break;
  }
}

uint32_t CellBlock::Read(ByteSpan bytes) {
  SetType(static_cast<int16_t>(bytes.U16(0)));
  return record ? record->Read(bytes) : 0;
}

uint16_t CellBlock::RowIndex() const { return record ? record->rowIndex : 0; }
uint16_t CellBlock::ColIndex() const { return record ? record->colIndex : 0; }

uint32_t Row::Read(ByteSpan bytes) {
  ByteSpan d;
  const uint32_t n = Frame(bytes, d);
  rowIndex = d.U16(0);
  firstCellColumn = d.U16(2);
  lastCellColumnPlusOne = d.U16(4);
  height = d.U16(6);
  reserved = d.U16(8);
  reserved2 = d.U16(10);
  options = d.U32(12);
  return n;
}

uint32_t DBCell::Read(ByteSpan bytes) {
  ByteSpan d;
  const uint32_t n = Frame(bytes, d);
  firstRowOffset = d.U32(0);
  cellOffsets.clear();
  for (size_t off = 4; off + 2 <= d.size(); off += 2) cellOffsets.push_back(d.U16(off));
  return n;
}

uint32_t RowBlock::ReadLooseCell(ByteSpan bytes) {
  if (sink) return sink->Read(bytes);
  RefCount::SmartPtr<CellBlock> cell(new CellBlock);
  const uint32_t used = cell->Read(bytes);
  cellBlocks.push_back(cell);
  return used;
}

uint32_t RowBlock::Read(ByteSpan bytes) {
  size_t pos = 0;
  while (pos < bytes.size()) {
    const ByteSpan at = bytes.Sub(pos);
    const uint16_t code = at.U16(0);
    if (code == RecordCode::kDBCell) return static_cast<uint32_t>(pos + dbCell.Read(at));
    if (code == RecordCode::kEof) throw EofInRowBlock{static_cast<uint32_t>(pos + EofSize(at))};
    uint32_t used = 0;
    if (code == RecordCode::kBOF) {
      // The next sheet's BOF ends this one, which lacked its EOF; any other BOF opens an
      // embedded chart, skipped whole with its own records.
      if (OpensTopLevelSubstream(at)) throw EofInRowBlock{static_cast<uint32_t>(pos)};
      used = SkipSubstream(at);
    } else if (code == RecordCode::kRow) {
      used = sink ? Record::Skip(at) : rows.emplace_back().Read(at);
    } else if (IsCellCode(code)) {
      used = ReadLooseCell(at);
    } else {
      used = Record::Skip(at);
    }
    pos += used;
  }
  // The stream ended without DBCELL or EOF: everything was consumed.
  throw EofInRowBlock{static_cast<uint32_t>(pos)};
}

uint32_t CellTable::Read(ByteSpan bytes) {
  size_t pos = 0;
  while (pos < bytes.size() && bytes.U16(pos) == RecordCode::kRow) {
    RowBlock& block = rowBlocks.emplace_back();
    block.sink = sink;
    try {
      pos += block.Read(bytes.Sub(pos));
    } catch (const EofInRowBlock& e) {
      throw EofInRowBlock{static_cast<uint32_t>(pos + e.bytesRead)};
    }
  }
  return static_cast<uint32_t>(pos);
}

}  // namespace Xls
