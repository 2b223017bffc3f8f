// The stored cells of one sheet, in blocks of a fixed size that never move: appending never
// copies what is already stored, so a load never holds its cells twice while they grow,
// and a cell stays where it was put. Owns the blocks; cells are plain values.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>
#include <vector>

#include "grid/grid_cell.h"

namespace Grid {

class CellBlocks {
 public:
  static constexpr size_t kBlockShift = 12;
  static constexpr size_t kBlockCells = size_t{1} << kBlockShift;  // 64 KiB a block

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  GridCell& operator[](size_t i) { return blocks_[i >> kBlockShift][i & (kBlockCells - 1)]; }
  const GridCell& operator[](size_t i) const { return blocks_[i >> kBlockShift][i & (kBlockCells - 1)]; }
  GridCell& back() { return (*this)[size_ - 1]; }

  void push_back(const GridCell& cell) {
    if ((size_ & (kBlockCells - 1)) == 0 && (size_ >> kBlockShift) == blocks_.size())
      blocks_.emplace_back(static_cast<GridCell*>(::operator new(kBlockCells * sizeof(GridCell))));
    ::new (&(*this)[size_]) GridCell(cell);
    ++size_;
  }
  // Keeps the first `count` cells and frees the blocks past them.
  void Truncate(size_t count) {
    if (count >= size_) return;
    size_ = count;
    blocks_.resize((count + kBlockCells - 1) >> kBlockShift);
  }
  void Swap(CellBlocks& other) {
    blocks_.swap(other.blocks_);
    std::swap(size_, other.size_);
  }

 private:
  static_assert(std::is_trivially_copyable_v<GridCell> && std::is_trivially_destructible_v<GridCell>);
  struct Release {
    void operator()(GridCell* block) const { ::operator delete(block); }
  };
  std::vector<std::unique_ptr<GridCell[], Release>> blocks_;
  size_t size_ = 0;
};

}  // namespace Grid
