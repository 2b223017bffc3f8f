#include "xls/cell_records.h"

#include <algorithm>
#include <bit>

namespace Xls {

uint32_t CellRecord::Read(ByteSpan bytes) {
  ByteSpan d;
  return ReadFields(bytes, d);
}

uint32_t CellRecord::ReadFields(ByteSpan bytes, ByteSpan& d) {
  const uint32_t n = Frame(bytes, d);
  rowIndex = d.U16(0);
  colIndex = d.U16(2);
  xfIndex = d.U16(4);
  return n;
}

uint32_t LabelSST::Read(ByteSpan bytes) {
  ByteSpan d;
  const uint32_t n = ReadFields(bytes, d);
  sstIndex = d.U32(6);
  return n;
}

uint32_t Number::Read(ByteSpan bytes) {
  ByteSpan d;
  const uint32_t n = ReadFields(bytes, d);
  value = std::bit_cast<double>(d.U64(6));
  return n;
}

uint32_t BoolErr::Read(ByteSpan bytes) {
  ByteSpan d;
  const uint32_t n = ReadFields(bytes, d);
  value = d.U8(6);
  error = d.U8(7);
  return n;
}

uint32_t RK::Read(ByteSpan bytes) {
  ByteSpan d;
  const uint32_t n = ReadFields(bytes, d);
  rkValue = d.U32(6);
  return n;
}

uint32_t Label::Read(ByteSpan bytes) {
  ByteSpan d;
  const uint32_t n = ReadFields(bytes, d);
  const uint16_t count = d.U16(6);
  text = LargeString();
  text.flags = static_cast<int8_t>(d.U8(8) & 0x01);
  size_t next = 0;
  while (next < continueOffsets.size() && continueOffsets[next] <= 9) ++next;
  // A long text may run on into CONTINUE records, each starting with a flags byte.
  ReadSplitCharacters(d, continueOffsets, next, 9, count, text);
  return n;
}

namespace {
// The last column is in the last two bytes; the entries lie between offset 4 and there.
size_t EntryCount(const ByteSpan& d, uint16_t first, uint16_t last, size_t entrySize) {
  if (last < first || d.size() < 6) return 0;
  const size_t room = (d.size() - 6) / entrySize;
  return std::min<size_t>(size_t{last} - first + 1, room);
}
}  // namespace

size_t MulRK::EntryCount(const ByteSpan& d) {
  return Xls::EntryCount(d, d.U16(2), LastColumn(d), 6);
}

uint32_t MulRK::Read(ByteSpan bytes) {
  ByteSpan d;
  const uint32_t n = ReadFields(bytes, d);
  firstColumn = colIndex;
  xfIndex = 0;
  lastColumn = LastColumn(d);
  const size_t count = EntryCount(d);
  entries.resize(count);
  for (size_t i = 0; i < count; ++i) entries[i] = EntryAt(d, i);
  return n;
}

uint32_t MulBlank::Read(ByteSpan bytes) {
  ByteSpan d;
  const uint32_t n = ReadFields(bytes, d);
  firstColumn = colIndex;
  xfIndex = 0;
  lastColumn = d.size() >= 2 ? d.U16(d.size() - 2) : 0;
  const size_t count = EntryCount(d, firstColumn, lastColumn, 2);
  xfIndices.resize(count);
  for (size_t i = 0; i < count; ++i) xfIndices[i] = d.U16(4 + 2 * i);
  return n;
}

}  // namespace Xls
