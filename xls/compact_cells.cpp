#include "xls/compact_cells.h"

namespace Xls {

void CompactCells::Clear() {
  cells.clear();
  rkEntries.clear();
  blankEntries.clear();
  whole.clear();
}

uint32_t CompactCells::Read(ByteSpan bytes) {
  const uint16_t code = bytes.U16(0);
  CellRecord* decoder = nullptr;
  switch (code) {
    case RecordCode::kLabelSST: decoder = &labelSst; break;
    case RecordCode::kBlank: decoder = &blank; break;
    case RecordCode::kNumber: decoder = &number; break;
    case RecordCode::kBoolErr: decoder = &boolErr; break;
    case RecordCode::kRK: decoder = &rk; break;
    case RecordCode::kMulRK: decoder = &mulRk; break;
    case RecordCode::kMulBlank: decoder = &mulBlank; break;
    default: {
      // LABEL, RSTRING and FORMULA (with the records read with it) are kept whole.
      RefCount::SmartPtr<CellBlock> block(new CellBlock);
      const uint32_t used = block->Read(bytes);
      if (block->record) AddWhole(code, block);
      return used;
    }
  }
  const uint32_t used = decoder->Read(bytes);
  AddRecord(code, *decoder);
  return used;
}

namespace {
CompactCell EntryFor(uint16_t code, const CellRecord& record) {
  CompactCell c;
  c.code = code;
  c.row = record.rowIndex;
  c.col = record.colIndex;
  c.xf = record.xfIndex;
  return c;
}
}  // namespace

void CompactCells::AddWhole(uint16_t code, const RefCount::SmartPtr<CellBlock>& block) {
  CompactCell c = EntryFor(code, *block->record);
  c.value = static_cast<uint32_t>(whole.size());
  whole.push_back(block);
  cells.push_back(c);
}

void CompactCells::AddRecord(uint16_t code, const CellRecord& record) {
  CompactCell c = EntryFor(code, record);
  switch (code) {
    case RecordCode::kLabelSST: c.value = static_cast<const LabelSST&>(record).sstIndex; break;
    case RecordCode::kNumber: c.number = static_cast<const Number&>(record).value; break;
    case RecordCode::kBoolErr:
      c.boolErr.value = static_cast<const BoolErr&>(record).value;
      c.boolErr.error = static_cast<const BoolErr&>(record).error;
      break;
    case RecordCode::kRK: c.value = static_cast<const RK&>(record).rkValue; break;
    case RecordCode::kMulRK: {
      const auto& m = static_cast<const MulRK&>(record);
      c.xf = m.lastColumn;
      c.run = {static_cast<uint32_t>(rkEntries.size()), static_cast<uint32_t>(m.entries.size())};
      rkEntries.insert(rkEntries.end(), m.entries.begin(), m.entries.end());
      break;
    }
    case RecordCode::kMulBlank: {
      const auto& m = static_cast<const MulBlank&>(record);
      c.xf = m.lastColumn;
      c.run = {static_cast<uint32_t>(blankEntries.size()), static_cast<uint32_t>(m.xfIndices.size())};
      blankEntries.insert(blankEntries.end(), m.xfIndices.begin(), m.xfIndices.end());
      break;
    }
    default: break;  // BLANK: position and format only
  }
  cells.push_back(c);
}

}  // namespace Xls
