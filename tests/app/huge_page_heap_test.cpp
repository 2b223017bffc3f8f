// The window moves its heap onto huge pages before Qt starts. The heap must work as before,
// and the blocks handed out after the move must really be huge-paged: one stray write by
// malloc into the advised stretch before the advice keeps its first 2 MiB on small pages.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "app/huge_page_heap.h"
#include "tests/support/run_script.h"

namespace {

struct Paging {
  long residentKiB = -1, hugeKiB = -1;
};

// How the mapping that holds `at` is paged, from the process's own account.
Paging PagingAround(const void* at) {
  std::ifstream smaps("/proc/self/smaps");
  const auto address = reinterpret_cast<uintptr_t>(at);
  bool inside = false;
  Paging paging;
  for (std::string line; std::getline(smaps, line);) {
    uintptr_t from = 0, to = 0;
    char dash = 0;
    std::istringstream head(line);
    if (head >> std::hex >> from >> dash >> to && dash == '-') {
      if (inside) break;
      inside = from <= address && address < to;
    } else if (inside && line.rfind("Rss:", 0) == 0) {
      paging.residentKiB = std::strtol(line.c_str() + 4, nullptr, 10);
    } else if (inside && line.rfind("AnonHugePages:", 0) == 0) {
      paging.hugeKiB = std::strtol(line.c_str() + 14, nullptr, 10);
    }
  }
  return paging;
}

bool HugePagesOnRequest() {
  std::ifstream setting("/sys/kernel/mm/transparent_hugepage/enabled");
  std::string modes((std::istreambuf_iterator<char>(setting)), std::istreambuf_iterator<char>());
  return modes.find("[always]") != std::string::npos || modes.find("[madvise]") != std::string::npos;
}

TEST(HugePageHeap, BlocksOfEverySizeKeepTheirBytesAndAllTheStretchTouchedIsHugePaged) {
  PlaceHeapOnHugePages();
  // Up to the size that keeps a mapping of its own, and past it.
  const size_t sizes[] = {16, 4096, 100000, size_t{1} << 20, size_t{3} << 20, size_t{5} << 20};
  char* blocks[std::size(sizes)];
  for (size_t i = 0; i < std::size(sizes); ++i) {
    blocks[i] = static_cast<char*>(std::malloc(sizes[i]));
    ASSERT_NE(blocks[i], nullptr);
    std::memset(blocks[i], static_cast<int>('a' + i), sizes[i]);
  }
  // Everything the heap touched above the boundary, from its first byte, is on huge pages.
  const Paging paging = PagingAround(blocks[4] + sizes[4] / 2);
  for (size_t i = 0; i < std::size(sizes); ++i) {
    for (size_t at : {size_t{0}, sizes[i] / 2, sizes[i] - 1}) ASSERT_EQ(blocks[i][at], static_cast<char>('a' + i));
    std::free(blocks[i]);
  }
  if (testing_support::kSanitized || !HugePagesOnRequest()) GTEST_SKIP() << "no huge pages for this heap";
  EXPECT_GE(paging.hugeKiB, 4096);
  EXPECT_EQ(paging.residentKiB, paging.hugeKiB);
}

}  // namespace
