// An allocator for the few large buffers a load fills once (the Workbook stream, the flat
// cell list, the packed strings): blocks of 2 MiB and more are mapped on their own and
// marked for huge pages, so filling them costs a handful of page faults instead of one per
// 4 KiB page. Smaller blocks come from operator new. Stateless: all instances are equal;
// the one block kept for reuse is the process's (big_allocator.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace Xls {

// Mapped blocks of whole huge pages. The last block let go is kept, pages and all, for the
// next block of its length or less: a load frees its stream just before it sizes the grids,
// and refilling the same pages costs far less than the kernel clearing fresh ones.
void* MapBlock(size_t length);
void UnmapBlock(void* p, size_t length);
// A mapped block of `oldLength` made `newLength` long, moved by the kernel where it cannot
// grow in place: its contents stay, nothing is copied.
void* RemapBlock(void* p, size_t oldLength, size_t newLength);
// Returns the kept block, if any, to the system: a load calls it when it is done.
void ReleaseSpareBlock();

template <typename T>
struct BigAllocator {
  using value_type = T;
  static constexpr size_t kMapped = size_t{2} << 20;
  static constexpr size_t kHugePage = size_t{2} << 20;
  // Mapped lengths are whole huge pages, which lets the kernel place them on a huge-page
  // boundary so that every page of the block can be a huge one.
  static size_t MappedLength(size_t bytes) { return (bytes + kHugePage - 1) / kHugePage * kHugePage; }

  BigAllocator() = default;
  template <typename U>
  BigAllocator(const BigAllocator<U>&) {}  // NOLINT: rebinding converts implicitly

  T* allocate(size_t n) {
    if (n > SIZE_MAX / sizeof(T)) throw std::bad_array_new_length();
    const size_t bytes = n * sizeof(T);
    if (bytes < kMapped) return static_cast<T*>(::operator new(bytes));
    const size_t length = MappedLength(bytes);
    if (length < bytes) throw std::bad_alloc();
    return static_cast<T*>(MapBlock(length));
  }
  void deallocate(T* p, size_t n) {
    if (n * sizeof(T) < kMapped)
      ::operator delete(p);
    else
      UnmapBlock(p, MappedLength(n * sizeof(T)));
  }
  // Elements made without arguments are default-initialised, not zeroed: the buffers are
  // filled right after they are sized (a stream read into, cells appended and then set).
  template <typename U>
  void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
    ::new (static_cast<void*>(p)) U;
  }
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
  template <typename U>
  bool operator==(const BigAllocator<U>&) const { return true; }
};

template <typename T>
using BigVector = std::vector<T, BigAllocator<T>>;

}  // namespace Xls
