#include "xls/big_allocator.h"

#include <sys/mman.h>

#include <mutex>
#include <utility>

namespace Xls {

namespace {
// Blocks are let go by the loading thread and the shared-strings thread alike.
std::mutex spareLock;
void* spare = nullptr;
size_t spareLength = 0;
}  // namespace

void* MapBlock(size_t length) {
  void* reused = nullptr;
  size_t reusedLength = 0;
  {
    std::lock_guard<std::mutex> hold(spareLock);
    // A much larger spare would keep pages the new block never uses.
    if (spare && spareLength >= length && spareLength / 2 < length) {
      reused = std::exchange(spare, nullptr);
      reusedLength = spareLength;
    }
  }
  if (reused) {
    // The tail the new block does not use goes back at once.
    if (reusedLength > length) ::munmap(static_cast<char*>(reused) + length, reusedLength - length);
    return reused;
  }
  void* p = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) throw std::bad_alloc();
  ::madvise(p, length, MADV_HUGEPAGE);  // a hint: without huge pages it simply has no effect
  return p;
}

void* RemapBlock(void* p, size_t oldLength, size_t newLength) {
  void* grown = ::mremap(p, oldLength, newLength, MREMAP_MAYMOVE);
  if (grown == MAP_FAILED) throw std::bad_alloc();
  if (newLength > oldLength) ::madvise(grown, newLength, MADV_HUGEPAGE);
  return grown;
}

namespace {
// Makes `p` the spare and returns the one it replaces to the system, outside the lock.
void ReplaceSpare(void* p, size_t length) {
  void* old = nullptr;
  size_t oldLength = 0;
  {
    std::lock_guard<std::mutex> hold(spareLock);
    old = std::exchange(spare, p);
    oldLength = std::exchange(spareLength, length);
  }
  if (old) ::munmap(old, oldLength);
}
}  // namespace

void UnmapBlock(void* p, size_t length) { ReplaceSpare(p, length); }

void ReleaseSpareBlock() { ReplaceSpare(nullptr, 0); }

}  // namespace Xls
