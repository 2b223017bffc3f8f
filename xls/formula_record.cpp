#include "xls/formula_record.h"

namespace Xls {

namespace {
std::vector<uint8_t> TailBytes(const ByteSpan& d, size_t from) {
  const ByteSpan t = d.Sub(from);
  return std::vector<uint8_t>(t.data(), t.data() + t.size());
}

// The cell range that ARRAY, SHRFMLA and TABLE records open with.
template <typename R>
void ReadRange(const ByteSpan& d, R& r) {
  r.firstRow = d.U16(0);
  r.lastRow = d.U16(2);
  r.firstColumn = d.U8(4);
  r.lastColumn = d.U8(5);
}
}  // namespace

uint32_t Formula::Array::Read(ByteSpan bytes) {
  const uint32_t n = Record::Read(bytes);
  const ByteSpan d = Data();
  ReadRange(d, *this);
  options = d.U16(6);
  reserved = d.U32(8);
  tokens = TailBytes(d, 12);
  return n;
}

uint32_t Formula::ShrFmla::Read(ByteSpan bytes) {
  const uint32_t n = Record::Read(bytes);
  const ByteSpan d = Data();
  ReadRange(d, *this);
  reserved = d.U16(6);
  tokens = TailBytes(d, 8);
  return n;
}

uint32_t Formula::Table::Read(ByteSpan bytes) {
  const uint32_t n = Record::Read(bytes);
  const ByteSpan d = Data();
  ReadRange(d, *this);
  options = d.U16(6);
  inputRow1 = d.U16(8);
  inputColumn1 = d.U16(10);
  inputRow2 = d.U16(12);
  inputColumn2 = d.U16(14);
  return n;
}

uint32_t Formula::String::Read(ByteSpan bytes) {
  const uint32_t n = Record::Read(bytes);
  const ByteSpan d = Data();
  const uint16_t count = d.U16(0);
  LargeString text;
  text.flags = d.U8(2) != 0 ? 1 : 0;
  size_t next = 0;
  while (next < continueOffsets.size() && continueOffsets[next] <= 3) ++next;
  // A long result may continue in CONTINUE records, each with a flags byte of its own.
  ReadSplitCharacters(d, continueOffsets, next, 3, count, text);
  wideText = text.IsWide() ? std::move(text.wideText) : widen_string(text.narrowText);
  hasText = true;
  return n;
}

uint32_t Formula::Read(ByteSpan bytes) {
  ByteSpan d;
  size_t pos = ReadFields(bytes, d);
  for (size_t i = 0; i < 8; ++i) resultBytes[i] = d.U8(6 + i);
  options = d.U16(14);
  reserved = d.U32(16);
  tokens = TailBytes(d, 20);
  const auto codeAt = [&](size_t p) { return bytes.Has(p, 2) ? bytes.U16(p) : uint16_t{0}; };
  switch (codeAt(pos)) {
    case RecordCode::kArray:
      followingRecordType = RecordCode::kArray;
      pos += arrayRecord.Read(bytes.Sub(pos));
      break;
    case RecordCode::kShrFmla:
      followingRecordType = RecordCode::kShrFmla;
      pos += sharedFormulaRecord.Read(bytes.Sub(pos));
      break;
    case RecordCode::kShrFmla1:
      followingRecordType = RecordCode::kShrFmla1;
      pos += sharedFormula1Record.Read(bytes.Sub(pos));
      break;
    case RecordCode::kTable:
      followingRecordType = RecordCode::kTable;
      pos += tableRecord.Read(bytes.Sub(pos));
      break;
    default: break;
  }
  if (codeAt(pos) == RecordCode::kString) pos += stringRecord.Read(bytes.Sub(pos));
  return static_cast<uint32_t>(pos);
}

}  // namespace Xls
