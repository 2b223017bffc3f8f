#include "xls/compact_cells.h"

#include <algorithm>
#include <bit>

namespace Xls {

void CompactCells::Clear() {
  cells.clear();
  rkEntries.clear();
  blankEntries.clear();
  whole.clear();
  highRow = highColumn = 0;
}

void CompactCells::Track(const CompactCell& cc) {
  constexpr int32_t kMaxColumn = 255;
  if (cc.code == RecordCode::kBlank || cc.code == RecordCode::kMulBlank) return;
  int32_t c = cc.col;
  if (cc.code == RecordCode::kMulRK) {
    // The last column of the entries present, not the one the record claims.
    if (cc.run.count == 0) return;
    c = static_cast<int32_t>(std::min<int64_t>(int64_t{cc.col} + cc.run.count - 1, kMaxColumn));
  }
  if (c > kMaxColumn) return;  // outside the sheet: never part of the grid
  highRow = std::max<int32_t>(highRow, cc.row);
  highColumn = std::max(highColumn, c);
}

namespace {
// The data bytes a cell record needs for every field the list keeps; 0 for the kinds that are
// always read by their decoder.
size_t FieldBytes(uint16_t code) {
  switch (code) {
    case RecordCode::kLabelSST: return 10;
    case RecordCode::kRK: return 10;
    case RecordCode::kNumber: return 14;
    case RecordCode::kBlank: return 6;
    case RecordCode::kBoolErr: return 8;
    case RecordCode::kMulRK: return 6;  // its layout needs no more (MulRK::EntryCount)
    default: return 0;
  }
}
}  // namespace

bool CompactCells::ReadInPlace(ByteSpan bytes, uint32_t& used) {
  const uint16_t code = bytes.U16(0);
  const size_t fields = FieldBytes(code);
  const size_t end = 4 + size_t{bytes.U16(2)};
  // Only a whole record with room for its fields and no CONTINUE after it: what the decoder
  // would read from the stream's own bytes, field for field.
  if (fields == 0 || end - 4 < fields || !bytes.Has(0, end) ||
      (bytes.Has(end, 2) && bytes.U16(end) == RecordCode::kContinue))
    return false;
  const ByteSpan d = bytes.Sub(4, end - 4);
  CompactCell& c = cells.emplace_back();
  c.code = code;
  c.row = d.U16(0);
  c.col = d.U16(2);
  c.xf = d.U16(4);
  switch (code) {
    case RecordCode::kLabelSST:
    case RecordCode::kRK: c.value = d.U32(6); break;
    case RecordCode::kNumber: c.number = std::bit_cast<double>(d.U64(6)); break;
    case RecordCode::kBoolErr:
      c.boolErr.value = d.U8(6);
      c.boolErr.error = d.U8(7);
      break;
    case RecordCode::kMulRK: {
      const size_t count = MulRK::EntryCount(d);
      c.xf = MulRK::LastColumn(d);
      c.run = {static_cast<uint32_t>(rkEntries.size()), static_cast<uint32_t>(count)};
      for (size_t i = 0; i < count; ++i) rkEntries.push_back(MulRK::EntryAt(d, i));
      break;
    }
    default: break;
  }
  Track(c);
  used = static_cast<uint32_t>(end);
  return true;
}

uint32_t CompactCells::Read(ByteSpan bytes) {
  if (uint32_t used = 0; ReadInPlace(bytes, used)) return used;
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
  Track(c);
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
      rkEntries.append(m.entries.begin(), m.entries.end());
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
  Track(c);
}

}  // namespace Xls
