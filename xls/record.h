// BIFF8 record framing: one record header plus the CONTINUE records joined to it, and the
// BOF/EOF records that open and close every substream. A Record owns a copy of its data,
// except the many small records (rows, cells) that decode their fields straight from the
// stream and keep a copy only when CONTINUE parts had to be joined. Every reader takes the stream bytes from the record's first byte to the end of the
// stream and returns the bytes it consumed, never more than it was given.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "bytes/byte_span.h"

namespace Xls {

using ByteOrder::ByteSpan;

namespace RecordCode {
constexpr uint16_t kFormula = 0x0006;
constexpr uint16_t kEof = 0x000A;
constexpr uint16_t kFilePass = 0x002F;
constexpr uint16_t kFont = 0x0031;
constexpr uint16_t kTable = 0x0036;
constexpr uint16_t kContinue = 0x003C;
constexpr uint16_t kWindow1 = 0x003D;
constexpr uint16_t kColInfo = 0x007D;
constexpr uint16_t kWsBool = 0x0081;
constexpr uint16_t kBoundSheet = 0x0085;
constexpr uint16_t kShrFmla = 0x00BC;
constexpr uint16_t kMulRK = 0x00BD;
constexpr uint16_t kMulBlank = 0x00BE;
constexpr uint16_t kRString = 0x00D6;
constexpr uint16_t kDBCell = 0x00D7;
constexpr uint16_t kXF = 0x00E0;
constexpr uint16_t kMergedCells = 0x00E5;
constexpr uint16_t kSST = 0x00FC;
constexpr uint16_t kLabelSST = 0x00FD;
constexpr uint16_t kExtSST = 0x00FF;
constexpr uint16_t kDimensions = 0x0200;
constexpr uint16_t kBlank = 0x0201;
constexpr uint16_t kNumber = 0x0203;
constexpr uint16_t kLabel = 0x0204;
constexpr uint16_t kBoolErr = 0x0205;
constexpr uint16_t kString = 0x0207;
constexpr uint16_t kRow = 0x0208;
constexpr uint16_t kIndex = 0x020B;
constexpr uint16_t kArray = 0x0221;
constexpr uint16_t kWindow2 = 0x023E;
constexpr uint16_t kRK = 0x027E;
constexpr uint16_t kStyle = 0x0293;
constexpr uint16_t kFormat = 0x041E;
constexpr uint16_t kShrFmla1 = 0x04BC;
constexpr uint16_t kBOF = 0x0809;
}  // namespace RecordCode

// Bytes for the record at the start of `bytes` when it is skipped as an EOF: 4, or what is left.
uint32_t EofSize(ByteSpan bytes);

// True for a BOF that opens workbook globals or a worksheet. Neither is ever nested in
// another substream, so meeting one means the substream before it lacks its EOF.
bool OpensTopLevelSubstream(ByteSpan bytes);

// The bytes of the substream whose BOF starts `bytes`: through its own EOF, with any
// substreams nested in it (a worksheet's embedded charts). One cut short ends before a
// globals or worksheet BOF, or at the end of the stream.
uint32_t SkipSubstream(ByteSpan bytes);

// Frames the record that starts `bytes` with the CONTINUE records after it, handing
// onPart(data) the record's own data and then each CONTINUE's, in order; returns the bytes
// framed. A header or data cut short by the end of the stream yields what is there.
template <typename OnPart>
uint32_t ForEachPart(ByteSpan bytes, OnPart&& onPart) {
  onPart(bytes.Sub(4, bytes.U16(2)));
  size_t size = std::min<size_t>(bytes.size(), 4 + size_t{bytes.U16(2)});
  // Each pass advances by at least the two code bytes it looked at, so the loop ends.
  while (bytes.Has(size, 2) && bytes.U16(size) == RecordCode::kContinue) {
    onPart(bytes.Sub(size + 4, bytes.U16(size + 2)));
    size = std::min<size_t>(bytes.size(), size + 4 + bytes.U16(size + 2));
  }
  return static_cast<uint32_t>(size);
}

class Record {
 public:
  explicit Record(uint16_t code = 0, uint32_t dataSize = 0);
  virtual ~Record() = default;
  Record(const Record&) = default;
  Record& operator=(const Record&) = default;

  // Frames the record and appends the data of every CONTINUE record after it. A header or
  // data cut short by the end of the stream yields what is there.
  virtual uint32_t Read(ByteSpan bytes);

  // The bytes Read would consume, without copying anything: for records that are skipped.
  static uint32_t Skip(ByteSpan bytes);

  uint32_t DataSize() const { return dataSize; }
  uint32_t RecordSize() const { return recordSize; }
  ByteSpan Data() const { return ByteSpan(data.data(), data.size()); }

  uint16_t code = 0;
  std::vector<uint8_t> data;
  uint32_t dataSize = 0;
  uint32_t recordSize = 4;
  std::vector<uint32_t> continueOffsets;

 protected:
  // Frames like Read and sets `d` to the record's data: the stream's own bytes when no
  // CONTINUE follows (nothing is kept), else the joined copy in `data`. `d` is valid only
  // while the stream is.
  uint32_t Frame(ByteSpan bytes, ByteSpan& d);
};

// Walks the substream whose BOF starts `bytes` as SkipSubstream does, calling
// onRecord(bytes from the record) for each record of its own level, neither BOF nor EOF
// (a nested substream's records are its own); returns the bytes walked.
template <typename OnRecord>
uint32_t WalkSubstream(ByteSpan bytes, OnRecord&& onRecord) {
  size_t pos = Record::Skip(bytes);
  size_t depth = 1;
  while (pos < bytes.size()) {
    const ByteSpan at = bytes.Sub(pos);
    const uint16_t code = at.U16(0);
    if (code == RecordCode::kEof) {
      pos += EofSize(at);
      if (--depth == 0) break;
      continue;
    }
    if (code == RecordCode::kBOF) {
      if (OpensTopLevelSubstream(at)) break;
      ++depth;
    } else if (depth == 1) {
      onRecord(at);
    }
    pos += Record::Skip(at);
  }
  return static_cast<uint32_t>(pos);
}

class BOF : public Record {
 public:
  BOF() : Record(RecordCode::kBOF, 16) { recordSize = 20; }
  uint32_t Read(ByteSpan bytes) override;

  uint16_t version = 0x0600;
  uint16_t substreamType = 0;
  uint16_t buildIdentifier = 0;
  uint16_t buildYear = 0;
  uint32_t fileHistoryFlags = 0;
  uint32_t lowestVersion = 0;
};

class Eof : public Record {
 public:
  Eof() : Record(RecordCode::kEof, 0) {}
};

}  // namespace Xls
