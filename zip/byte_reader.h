// A bounded little-endian reader over bytes it does not own: every read checks that the
// bytes are there first and fails (false, nothing read) when they are not. The container
// code reads the zip records it checks itself through this one reader.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Zip {

class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  size_t Size() const { return size_; }
  bool Seek(size_t offset) {
    if (offset > size_) return false;
    pos_ = offset;
    return true;
  }
  bool Skip(size_t count) {
    if (count > size_ - pos_) return false;
    pos_ += count;
    return true;
  }
  bool U16(uint16_t& out) {
    if (size_ - pos_ < 2) return false;
    out = static_cast<uint16_t>(data_[pos_] | data_[pos_ + 1] << 8);
    pos_ += 2;
    return true;
  }
  bool U32(uint32_t& out) {
    if (size_ - pos_ < 4) return false;
    out = static_cast<uint32_t>(data_[pos_]) | static_cast<uint32_t>(data_[pos_ + 1]) << 8 |
          static_cast<uint32_t>(data_[pos_ + 2]) << 16 | static_cast<uint32_t>(data_[pos_ + 3]) << 24;
    pos_ += 4;
    return true;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

}  // namespace Zip
