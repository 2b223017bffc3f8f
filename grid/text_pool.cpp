#include "grid/text_pool.h"

#include <cstring>

namespace Grid {

const char* TextPool::Add(std::string_view text) {
  if (text.empty()) return "";
  const size_t need = text.size() + 1;
  char* at;
  if (need > kBlockBytes / 4) {
    // A long text gets a block of its own, so the current block's room is not wasted.
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(need));
    at = blocks_.back().get();
  } else {
    if (need > room_) {
      blocks_.push_back(std::make_unique_for_overwrite<char[]>(kBlockBytes));
      free_ = blocks_.back().get();
      room_ = kBlockBytes;
    }
    at = free_;
    free_ += need;
    room_ -= need;
  }
  std::memcpy(at, text.data(), text.size());
  at[text.size()] = '\0';
  bytes_ += need;
  return at;
}

}  // namespace Grid
