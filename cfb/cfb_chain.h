// Walking sector chains through an allocation table (the FAT, or the mini FAT for mini
// sectors). A chain is only accepted when each of its sectors exists (is below `limit` and
// inside the table) and appears once, so a looping or stray chain ends the walk with false.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Cfb {

// The first `count` sectors of the chain from `start`, into `out`.
bool FollowChain(const std::vector<uint32_t>& table, uint32_t start, uint32_t limit, size_t count,
                 std::vector<uint32_t>& out);

// The whole chain from `start` up to its end mark, into `out` (empty when `start` is the mark).
bool FollowChainToEnd(const std::vector<uint32_t>& table, uint32_t start, uint32_t limit,
                      std::vector<uint32_t>& out);

}  // namespace Cfb
