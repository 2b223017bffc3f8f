// GrowingArray: an append-only list of plain elements for the lists a load fills without
// knowing their length (a sheet's cell entries). Small lists live in the heap; from 2 MiB on
// the list is one mapping that grows by remapping, so growing copies nothing and touches no
// page already filled. The array owns its storage.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

#include "xls/big_allocator.h"

namespace Xls {

template <typename T>
class GrowingArray {
  static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>,
                "elements are moved as bytes and never destroyed");

 public:
  GrowingArray() = default;
  GrowingArray(const GrowingArray& other) { *this = other; }
  GrowingArray(GrowingArray&& other) noexcept { Swap(other); }
  GrowingArray& operator=(const GrowingArray& other) {
    if (this != &other) {
      clear();
      Reserve(other.size_);
      if (other.size_) std::memcpy(data_, other.data_, other.size_ * sizeof(T));
      size_ = other.size_;
    }
    return *this;
  }
  GrowingArray& operator=(GrowingArray&& other) noexcept {
    GrowingArray(std::move(other)).Swap(*this);
    return *this;
  }
  ~GrowingArray() { Free(); }

  T& emplace_back() {
    if (size_ == capacity_) Reserve(size_ + 1, true);
    return *::new (static_cast<void*>(data_ + size_++)) T();
  }
  void push_back(const T& value) { emplace_back() = value; }
  template <typename It>
  void append(It first, It last) {
    for (; first != last; ++first) push_back(*first);
  }
  void clear() { size_ = 0; }
  // Room for `count` elements before the list grows again: a caller that can bound its
  // length gives it here, so that a large list is mapped at once instead of first filling
  // heap pages one by one and moving. Pages of the mapping never touched take no memory.
  void reserve(size_t count) { Reserve(count); }
  // A mapped list cut to the pages its elements use: what a bound reserved beyond them goes
  // back, and so does the unused tail of the last huge page, which would otherwise stay
  // resident as long as the list.
  void shrink_to_fit() {
    if (!mapped_) return;
    const size_t length = (std::max<size_t>(size_, 1) * sizeof(T) + kPage - 1) / kPage * kPage;
    if (length >= mappedLength_) return;
    data_ = static_cast<T*>(RemapBlock(data_, mappedLength_, length));
    mappedLength_ = length;
    capacity_ = length / sizeof(T);
  }

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  T& operator[](size_t i) { return data_[i]; }
  const T& operator[](size_t i) const { return data_[i]; }
  const T* begin() const { return data_; }
  const T* end() const { return data_ + size_; }

 private:
  static constexpr size_t kMapped = BigAllocator<char>::kMapped;
  static constexpr size_t kPage = 4096;

  // Room for `wanted` elements at least; growth from appends doubles, so that they cost
  // constant time.
  void Reserve(size_t wanted, bool doubling = false) {
    if (wanted <= capacity_) return;
    if (wanted > SIZE_MAX / 2 / sizeof(T)) throw std::bad_alloc();
    size_t capacity = doubling ? (capacity_ ? capacity_ * 2 : 64) : wanted;
    if (capacity < wanted) capacity = wanted;
    const size_t bytes = capacity * sizeof(T);
    void* grown = nullptr;
    if (mapped_) {
      // Still mapped however short a cut left it: it grows as a mapping.
      const size_t length = BigAllocator<char>::MappedLength(bytes);
      grown = RemapBlock(data_, mappedLength_, length);
      mappedLength_ = length;
      capacity = length / sizeof(T);
    } else if (bytes < kMapped) {
      grown = std::realloc(data_, bytes);
      if (!grown) throw std::bad_alloc();
    } else {
      const size_t length = BigAllocator<char>::MappedLength(bytes);
      grown = MapBlock(length);
      if (size_) std::memcpy(grown, data_, size_ * sizeof(T));
      std::free(data_);
      mapped_ = true;
      mappedLength_ = length;
      capacity = length / sizeof(T);
    }
    data_ = static_cast<T*>(grown);
    capacity_ = capacity;
  }
  void Free() {
    if (mapped_)
      UnmapBlock(data_, mappedLength_);
    else
      std::free(data_);
    data_ = nullptr;
    size_ = capacity_ = mappedLength_ = 0;
    mapped_ = false;
  }
  void Swap(GrowingArray& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    std::swap(capacity_, other.capacity_);
    std::swap(mapped_, other.mapped_);
    std::swap(mappedLength_, other.mappedLength_);
  }

  T* data_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
  bool mapped_ = false;
  size_t mappedLength_ = 0;  // the mapping's bytes, when mapped
};

}  // namespace Xls
