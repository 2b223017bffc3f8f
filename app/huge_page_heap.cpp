#include "app/huge_page_heap.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {
constexpr uintptr_t kHugePage = uintptr_t{2} << 20;
constexpr uintptr_t kPage = 4096;
// What the heap grows by each time: the window's start-up fits in the first stretch.
constexpr size_t kStretch = size_t{8} << 20;
// At least this much is asked for to make malloc extend the heap.
constexpr size_t kLeastProbe = size_t{1} << 20;

uintptr_t Break() { return reinterpret_cast<uintptr_t>(::sbrk(0)); }
}  // namespace

void PlaceHeapOnHugePages() {
  // Blocks up to a few MiB (a window's backing store, a decoded image) come from the heap
  // instead of mappings of their own, which would be paged 4 KiB at a time.
  ::mallopt(M_MMAP_THRESHOLD, 4 << 20);
  ::mallopt(M_TOP_PAD, kStretch);
  // Given back only in whole stretches, so the heap's top is not cut into the huge pages.
  ::mallopt(M_TRIM_THRESHOLD, kStretch);

  // The kernel maps a huge page only where nothing of its 2 MiB is mapped yet, and malloc
  // writes two headers as it extends: at the extension's start and just past the probe, where
  // the heap then goes on.
  // The extension therefore starts where both fall below a 2 MiB boundary, and what lies
  // above it is advised before anything touches it. The gap left below costs no memory.
  const uintptr_t now = Break();
  if (now == static_cast<uintptr_t>(-1)) return;
  // A request larger than all the heap has free cannot be served from it: malloc extends it.
  const size_t probeSize = std::max(kLeastProbe, (::mallinfo2().fordblks + kPage) & ~(kPage - 1));
  const uintptr_t below = probeSize + 2 * kPage;
  const uintptr_t boundary = (now + below + kHugePage - 1) & ~(kHugePage - 1);
  if (::sbrk(static_cast<intptr_t>(boundary - below - now)) == reinterpret_cast<void*>(-1)) return;
  // Kept, never touched: freed, it would be the first the heap hands out, below
  // the boundary. It costs address space only.
  [[maybe_unused]] static void* volatile const probe = std::malloc(probeSize);
  const uintptr_t end = Break();
  if (end > boundary) ::madvise(reinterpret_cast<void*>(boundary), end - boundary, MADV_HUGEPAGE);
}
