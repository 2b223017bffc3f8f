// A read-only view of bytes in which every read is checked against the end first.
// All binary parsing (compound file, BIFF records) goes through it: a read past the end
// fails (bool form) or yields zero (value form), never touches memory beyond the view.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace ByteOrder {

class ByteSpan {
 public:
  constexpr ByteSpan() = default;
  constexpr ByteSpan(const uint8_t* data, size_t size) : data_(data), size_(data ? size : 0) {}
  ByteSpan(const char* data, size_t size) : ByteSpan(reinterpret_cast<const uint8_t*>(data), size) {}

  constexpr const uint8_t* data() const { return data_; }
  constexpr size_t size() const { return size_; }
  constexpr bool empty() const { return size_ == 0; }

  // True when `count` bytes starting at `offset` lie inside the view (overflow-safe).
  constexpr bool Has(size_t offset, size_t count) const {
    return offset <= size_ && count <= size_ - offset;
  }

  // Little-endian integer of sizeof(T) bytes at `offset`; false (and `out` untouched) past the end.
  template <typename T>
  bool Read(size_t offset, T& out) const {
    static_assert(std::is_integral_v<T>);
    if (!Has(offset, sizeof(T))) return false;
    std::make_unsigned_t<T> v = 0;
    if constexpr (std::endian::native == std::endian::little) {
      std::memcpy(&v, data_ + offset, sizeof(T));  // one load: the bytes are already in order
    } else {
      for (size_t i = 0; i < sizeof(T); ++i)
        v |= static_cast<std::make_unsigned_t<T>>(data_[offset + i]) << (8 * i);
    }
    out = static_cast<T>(v);
    return true;
  }

  // Value forms: zero when the field lies (partly) past the end.
  uint8_t U8(size_t offset) const { return Get<uint8_t>(offset); }
  uint16_t U16(size_t offset) const { return Get<uint16_t>(offset); }
  uint32_t U32(size_t offset) const { return Get<uint32_t>(offset); }
  uint64_t U64(size_t offset) const { return Get<uint64_t>(offset); }

  // The part of the view from `offset`, at most `count` bytes long (clamped to the end).
  ByteSpan Sub(size_t offset, size_t count = SIZE_MAX) const {
    if (offset >= size_) return ByteSpan(data_ ? data_ + size_ : nullptr, 0);
    const size_t left = size_ - offset;
    return ByteSpan(data_ + offset, count < left ? count : left);
  }

 private:
  template <typename T>
  T Get(size_t offset) const {
    T v = 0;
    Read(offset, v);
    return v;
  }

  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace ByteOrder
