// LittleEndian: the general little-endian field codec, reading and writing fields of any
// width. The readers do not go through it: they read through ByteSpan (bytes/byte_span.h),
// whose every read is checked first. It is here for code that must write fields too; nothing
// in the product does so today, so only its own test uses it.
// The raw-pointer forms touch exactly the bytes named and trust the caller for bounds; the
// std::vector and ByteSpan forms are bounds-safe: bytes at or past the end read as zero and
// are never written. All operations are static; the caller owns every buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

#include "bytes/byte_span.h"

namespace ByteOrder {

class LittleEndian {
 public:
  // Assembles `value` from `width` bytes at `pos`, least significant first. Width 0 means the
  // width of T; a width above that of T is taken as the width of T.
  template <typename T>
  static void Read(const uint8_t* buffer, T& value, size_t pos, size_t width = 0) {
    value = Assemble<T>(buffer + pos, SIZE_MAX, width);
  }
  template <typename T>
  static void Read(const char* buffer, T& value, size_t pos, size_t width = 0) {
    Read(reinterpret_cast<const uint8_t*>(buffer), value, pos, width);
  }
  template <typename T>
  static void Read(const ByteSpan& buffer, T& value, size_t pos, size_t width = 0) {
    value = Assemble<T>(At(buffer.data(), buffer.size(), pos), Left(buffer.size(), pos), width);
  }
  template <typename T>
  static void Read(const std::vector<uint8_t>& buffer, T& value, size_t pos, size_t width = 0) {
    Read(ByteSpan(buffer.data(), buffer.size()), value, pos, width);
  }
  template <typename T>
  static void Read(const std::vector<char>& buffer, T& value, size_t pos, size_t width = 0) {
    Read(ByteSpan(buffer.data(), buffer.size()), value, pos, width);
  }

  // Reads `count` values of T; value i comes from pos + i * sizeof(T).
  template <typename Buffer, typename T>
  static void ReadString(const Buffer& buffer, T* values, size_t pos, size_t count) {
    for (size_t i = 0; i < count; ++i) Read(buffer, values[i], Advance(pos, i * sizeof(T)));
  }

  // Stores the `width` low-order bytes of `value` at `pos`, least significant first; width 0
  // means the width of T, and bytes beyond the width of T repeat the sign (or zero).
  template <typename T>
  static void Write(uint8_t* buffer, T value, size_t pos, size_t width = 0) {
    Store(buffer + pos, SIZE_MAX, value, width);
  }
  template <typename T>
  static void Write(char* buffer, T value, size_t pos, size_t width = 0) {
    Write(reinterpret_cast<uint8_t*>(buffer), value, pos, width);
  }
  template <typename T>
  static void Write(std::vector<uint8_t>& buffer, T value, size_t pos, size_t width = 0) {
    Store(At(buffer.data(), buffer.size(), pos), Left(buffer.size(), pos), value, width);
  }
  template <typename T>
  static void Write(std::vector<char>& buffer, T value, size_t pos, size_t width = 0) {
    Store(At(reinterpret_cast<uint8_t*>(buffer.data()), buffer.size(), pos), Left(buffer.size(), pos),
          value, width);
  }

  // Writes `count` values of T; value i goes to pos + i * sizeof(T).
  template <typename Buffer, typename T>
  static void WriteString(Buffer&& buffer, const T* values, size_t pos, size_t count) {
    for (size_t i = 0; i < count; ++i) Write(buffer, values[i], Advance(pos, i * sizeof(T)));
  }

 private:
  template <typename T>
  static constexpr void CheckType() {
    static_assert(std::is_integral_v<T> && !std::is_same_v<T, bool>, "integer or character type");
    static_assert(sizeof(T) <= 8);
  }

  // Bytes left in a buffer of `size` from `pos` (0 at or past the end).
  static constexpr size_t Left(size_t size, size_t pos) { return pos < size ? size - pos : 0; }
  template <typename B>
  static B* At(B* data, size_t size, size_t pos) {
    return pos < size ? data + pos : nullptr;
  }
  // pos + step, saturating: a position beyond any buffer stays beyond it.
  static constexpr size_t Advance(size_t pos, size_t step) {
    return step > SIZE_MAX - pos ? SIZE_MAX : pos + step;
  }

  template <typename T>
  static T Assemble(const uint8_t* p, size_t avail, size_t width) {
    CheckType<T>();
    if (width == 0 || width > sizeof(T)) width = sizeof(T);
    if (width > avail) width = avail;
    uint64_t v = 0;
    for (size_t i = 0; i < width; ++i) v |= static_cast<uint64_t>(p[i]) << (8 * i);
    return static_cast<T>(static_cast<std::make_unsigned_t<T>>(v));
  }

  template <typename T>
  static void Store(uint8_t* p, size_t avail, T value, size_t width) {
    CheckType<T>();
    if (width == 0) width = sizeof(T);
    if (width > avail) width = avail;
    using Wide = std::conditional_t<std::is_signed_v<T>, int64_t, uint64_t>;
    Wide v = static_cast<Wide>(value);
    for (size_t i = 0; i < width; ++i) {
      p[i] = static_cast<uint8_t>(v & 0xFF);
      v >>= 8;  // arithmetic for signed T, so wide fields carry the sign
    }
  }
};

}  // namespace ByteOrder
