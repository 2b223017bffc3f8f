// SettingsIndex: the setlist's distinct entry names, each with the settings rows that carry it.
// The build registers every entry first, then scans the settings table once, so the work
// follows the two tables' sizes, not their product, and a large settings table costs one
// lookup per row. Rows of one name stay in row order, so the records come out exactly as a
// full scan of the table for each entry would produce them.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

// ASCII A-Z become a-z; every other byte, including letters beyond ASCII, is kept.
std::string FoldAscii(std::string_view text);
void FoldAsciiInPlace(std::string& text);

class SettingsIndex {
 public:
  // The id of a setlist entry's folded name, registering (copying) the name when it is new.
  int32_t AddEntry(std::string_view folded_name);
  // Room for this many names in all without regrowing (a sheet's row count, say).
  void Reserve(size_t names);
  // The id of a registered name, or -1.
  int32_t Find(std::string_view folded_name) const;
  const std::string& Name(int32_t id) const { return names_[static_cast<size_t>(id)]; }
  // Rows must be added in increasing order.
  void AddRow(int32_t id, int32_t row);
  // Calls `visit(row)` for every row added to `id`, in row order; returns how many there were.
  template <class Visit>
  size_t ForEachRow(int32_t id, Visit visit) const {
    size_t count = 0;
    for (int32_t at = chains_[static_cast<size_t>(id)].first; at >= 0; at = next_[static_cast<size_t>(at)]) {
      visit(rows_[static_cast<size_t>(at)]);
      ++count;
    }
    return count;
  }

 private:
  struct Chain {
    int32_t first = -1;
    int32_t last = -1;
  };
  // One slot per name, at most half of them used: a lookup is mostly one probe, and a slot
  // carries the name's hash so a name is compared only when the hashes match.
  struct Slot {
    uint32_t hash = 0;
    int32_t id = -1;  // -1: free
  };
  size_t SlotOf(std::string_view folded_name, uint32_t hash) const;
  void Rehash(size_t slots);  // a power of two, room for every name

  std::deque<std::string> names_;
  std::vector<Slot> slots_;  // a power of two in size
  std::vector<Chain> chains_;
  // Slots link the rows of one name in row order.
  std::vector<int32_t> rows_;
  std::vector<int32_t> next_;
};
