// What one book's load may make the reader hold, shared by every part parsed for it (on
// either thread). A reader whose file asks for more fails its load instead of growing.
#pragma once

#include <atomic>
#include <cstdint>

namespace Grid {

class LoadBudget {
 public:
  // 8,388,608 stored cells (16 bytes each) and 256 MiB of text per book: far beyond a setlist,
  // and still a bounded allocation for a hostile file.
  static constexpr uint64_t kMaxStoredCells = uint64_t{1} << 23;
  static constexpr uint64_t kMaxTextBytes = uint64_t{256} << 20;
  // One cell's text; longer ones (far past any spreadsheet's own limit) fail the load.
  static constexpr uint64_t kMaxCellTextBytes = uint64_t{4} << 20;

  bool TakeCells(uint64_t count) { return Take(cells_, count, kMaxStoredCells); }
  bool TakeText(uint64_t bytes) { return Take(text_, bytes, kMaxTextBytes); }

 private:
  static bool Take(std::atomic<uint64_t>& used, uint64_t count, uint64_t limit) {
    uint64_t now = used.load(std::memory_order_relaxed);
    do {
      if (count > limit - now) return false;
    } while (!used.compare_exchange_weak(now, now + count, std::memory_order_relaxed));
    return true;
  }

  std::atomic<uint64_t> cells_{0};
  std::atomic<uint64_t> text_{0};
};

}  // namespace Grid
