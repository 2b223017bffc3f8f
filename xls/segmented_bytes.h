// A record's data read where it lies in the stream: the record's own part, then each
// CONTINUE record's, addressed as if joined into one run but never copied whole (a
// shared-string table is megabytes). The view borrows the stream; it owns only a small
// buffer for a range that crosses parts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "bytes/byte_span.h"

namespace Xls {

class SegmentedBytes {
 public:
  // Takes the record that starts `bytes` and the CONTINUE records after it; returns the
  // bytes they span (as Record::Skip counts them) and sets `starts` to the joined offsets
  // where each CONTINUE's data begins.
  uint32_t Frame(ByteOrder::ByteSpan bytes, std::vector<uint32_t>& starts);

  size_t size() const { return size_; }
  // Zero when the field lies (partly) past the end, as with ByteSpan.
  uint8_t U8(size_t pos) const { return static_cast<uint8_t>(Get(pos, 1)); }
  uint16_t U16(size_t pos) const { return static_cast<uint16_t>(Get(pos, 2)); }
  uint32_t U32(size_t pos) const { return Get(pos, 4); }
  // At most `count` bytes from `offset`, clamped to the end. A range inside one part is the
  // stream's own bytes; one across parts is a copy, valid until the next Sub.
  ByteOrder::ByteSpan Sub(size_t offset, size_t count = SIZE_MAX) const;

 private:
  struct Part {
    const uint8_t* data;
    size_t start;  // joined offset of data[0]
    size_t size;
  };
  // The part holding joined offset `pos` (< size_); reads go forward, so the last part
  // found is looked at first.
  const Part& PartOf(size_t pos) const;
  // Inline for the common case, a field inside the part the last read found: a table's
  // string headers are read this way, hundreds of thousands of them.
  uint32_t Get(size_t pos, size_t width) const {
    if (hint_ < parts_.size()) {
      const Part& part = parts_[hint_];
      if (pos >= part.start && pos - part.start < part.size && part.size - (pos - part.start) >= width) {
        const uint8_t* at = part.data + (pos - part.start);
        uint32_t value = 0;
        for (size_t k = 0; k < width; ++k) value |= static_cast<uint32_t>(at[k]) << (8 * k);
        return value;
      }
    }
    return GetAcross(pos, width);
  }
  uint32_t GetAcross(size_t pos, size_t width) const;
  void CopyOut(size_t offset, size_t count, uint8_t* out) const;

  std::vector<Part> parts_;
  size_t size_ = 0;
  mutable size_t hint_ = 0;
  mutable std::vector<uint8_t> crossing_;
};

}  // namespace Xls
