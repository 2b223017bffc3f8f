#include "xls/record.h"

#include <algorithm>

namespace Xls {

uint32_t EofSize(ByteSpan bytes) { return static_cast<uint32_t>(std::min<size_t>(4, bytes.size())); }

namespace {
constexpr uint16_t kGlobalsType = 0x0005;
constexpr uint16_t kWorksheetType = 0x0010;
}  // namespace

bool OpensTopLevelSubstream(ByteSpan bytes) {
  if (bytes.U16(0) != RecordCode::kBOF) return false;
  BOF bof;
  bof.Read(bytes);
  return bof.substreamType == kGlobalsType || bof.substreamType == kWorksheetType;
}

uint32_t SkipSubstream(ByteSpan bytes) {
  return WalkSubstream(bytes, [](ByteSpan) {});
}

Record::Record(uint16_t c, uint32_t size) : code(c), dataSize(size), recordSize(4 + size) {
  data.assign(size, 0);
}

namespace {
// The record's data and that of every CONTINUE after it, joined into `out`, with the offset
// each CONTINUE's part starts at; returns the bytes framed.
template <typename Buffer>
uint32_t JoinContinued(ByteSpan bytes, Buffer& out, std::vector<uint32_t>& offsets) {
  const ByteSpan first = bytes.Sub(4, bytes.U16(2));
  // Sized once for the record and its CONTINUE parts (a shared-string table has hundreds).
  out.clear();
  out.reserve(Record::Skip(bytes));
  out.assign(first.data(), first.data() + first.size());
  offsets.clear();
  size_t size = std::min<size_t>(bytes.size(), 4 + size_t{bytes.U16(2)});
  // Each pass advances by at least the two code bytes it looked at, so the loop ends.
  while (bytes.Has(size, 2) && bytes.U16(size) == RecordCode::kContinue) {
    const uint16_t m = bytes.U16(size + 2);
    offsets.push_back(static_cast<uint32_t>(out.size()));
    const ByteSpan part = bytes.Sub(size + 4, m);
    out.insert(out.end(), part.data(), part.data() + part.size());
    size = std::min<size_t>(bytes.size(), size + 4 + m);
  }
  return static_cast<uint32_t>(size);
}
}  // namespace

uint32_t Record::Read(ByteSpan bytes) {
  code = bytes.U16(0);
  recordSize = JoinContinued(bytes, data, continueOffsets);
  dataSize = static_cast<uint32_t>(data.size());
  return recordSize;
}

uint32_t Record::ReadJoined(ByteSpan bytes, BigVector<uint8_t>& joined) {
  code = bytes.U16(0);
  std::vector<uint8_t>().swap(data);
  recordSize = JoinContinued(bytes, joined, continueOffsets);
  dataSize = static_cast<uint32_t>(joined.size());
  return recordSize;
}

uint32_t Record::Skip(ByteSpan bytes) {
  size_t size = std::min<size_t>(bytes.size(), 4 + size_t{bytes.U16(2)});
  while (bytes.Has(size, 2) && bytes.U16(size) == RecordCode::kContinue)
    size = std::min<size_t>(bytes.size(), size + 4 + bytes.U16(size + 2));
  return static_cast<uint32_t>(size);
}

uint32_t Record::Frame(ByteSpan bytes, ByteSpan& d) {
  const size_t first = std::min<size_t>(bytes.size(), 4 + size_t{bytes.U16(2)});
  if (bytes.Has(first, 2) && bytes.U16(first) == RecordCode::kContinue) {
    const uint32_t n = Record::Read(bytes);  // the rare joined record: a copy of its own
    d = Data();
    return n;
  }
  code = bytes.U16(0);
  d = bytes.Sub(4, bytes.U16(2));
  std::vector<uint8_t>().swap(data);
  continueOffsets.clear();
  dataSize = static_cast<uint32_t>(d.size());
  recordSize = static_cast<uint32_t>(first);
  return recordSize;
}

uint32_t BOF::Read(ByteSpan bytes) {
  const uint32_t n = Record::Read(bytes);
  const ByteSpan d = Data();
  version = d.U16(0);
  substreamType = d.U16(2);
  buildIdentifier = d.U16(4);
  buildYear = d.U16(6);
  fileHistoryFlags = d.U32(8);
  lowestVersion = d.U32(12);
  return n;
}

}  // namespace Xls
