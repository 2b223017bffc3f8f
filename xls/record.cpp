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

uint32_t Record::Read(ByteSpan bytes) {
  code = bytes.U16(0);
  // Sized once for the record and its CONTINUE parts (a shared-string table has hundreds).
  data.clear();
  data.reserve(Skip(bytes));
  continueOffsets.clear();
  bool first = true;
  recordSize = ForEachPart(bytes, [this, &first](ByteSpan part) {
    if (!first) continueOffsets.push_back(static_cast<uint32_t>(data.size()));
    first = false;
    data.insert(data.end(), part.data(), part.data() + part.size());
  });
  dataSize = static_cast<uint32_t>(data.size());
  return recordSize;
}

uint32_t Record::Skip(ByteSpan bytes) {
  return ForEachPart(bytes, [](ByteSpan) {});
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
