// Stable storage for the texts of a loaded book: each text is copied once, zero-terminated,
// into large blocks that never move, so cells can point at it until the pool goes.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace Grid {

class TextPool {
 public:
  static constexpr size_t kBlockBytes = 256 * 1024;

  // The stored copy of `text`; "" needs no storage.
  const char* Add(std::string_view text);
  size_t Bytes() const { return bytes_; }

 private:
  std::vector<std::unique_ptr<char[]>> blocks_;
  char* free_ = nullptr;
  size_t room_ = 0;
  size_t bytes_ = 0;
};

}  // namespace Grid
