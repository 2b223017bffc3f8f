#include "cfb/cfb_chain.h"

#include "cfb/cfb_header.h"

namespace Cfb {

namespace {

// Sectors already seen on one walk; sized by the sector count, which the file bounds.
class Visited {
 public:
  explicit Visited(uint32_t limit) : seen_(limit, false) {}
  // False when `sector` does not exist or was seen before.
  bool Mark(uint32_t sector) {
    if (sector >= seen_.size() || seen_[sector]) return false;
    seen_[sector] = true;
    return true;
  }

 private:
  std::vector<bool> seen_;
};

uint32_t Limit(const std::vector<uint32_t>& table, uint32_t limit) {
  return table.size() < limit ? static_cast<uint32_t>(table.size()) : limit;
}

}  // namespace

bool FollowChain(const std::vector<uint32_t>& table, uint32_t start, uint32_t limit, size_t count,
                 std::vector<uint32_t>& out) {
  out.clear();
  limit = Limit(table, limit);
  if (count > limit) return false;  // more sectors than exist: it must repeat or stray
  if (count == 0) return true;
  Visited visited(limit);
  out.reserve(count);
  uint32_t sector = start;
  for (size_t i = 0; i < count; ++i) {
    if (!visited.Mark(sector)) return false;  // end mark, free, out of range or a loop
    out.push_back(sector);
    sector = table[sector];
  }
  return true;
}

bool FollowChainToEnd(const std::vector<uint32_t>& table, uint32_t start, uint32_t limit,
                      std::vector<uint32_t>& out) {
  out.clear();
  limit = Limit(table, limit);
  Visited visited(limit);
  for (uint32_t sector = start; sector != kEndOfChain; sector = table[sector]) {
    if (!visited.Mark(sector)) return false;
    out.push_back(sector);
  }
  return true;
}

}  // namespace Cfb
