// SettingsIndex: the settings rows grouped by folded lookup name, built once per build so each
// setlist entry is found without rescanning the table. Rows of one name stay in row order, so
// the records come out exactly as a full scan of the table would produce them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// ASCII A-Z become a-z; every other byte, including letters beyond ASCII, is kept.
std::string FoldAscii(std::string_view text);

class SettingsIndex {
 public:
  void Reserve(size_t rows);
  // Rows must be added in increasing order.
  void Add(std::string folded_name, int32_t row);
  // Calls `visit(row)` for every row whose folded name equals `folded_name` byte for byte, in
  // row order; returns how many there were.
  template <class Visit>
  size_t ForEachRow(const std::string& folded_name, Visit visit) const {
    const auto it = first_.find(folded_name);
    if (it == first_.end()) return 0;
    size_t count = 0;
    for (int32_t at = it->second.first; at >= 0; at = next_[static_cast<size_t>(at)]) {
      visit(rows_[static_cast<size_t>(at)]);
      ++count;
    }
    return count;
  }

 private:
  // Name -> first and last slot of its chain; slots link the rows of one name in row order.
  std::unordered_map<std::string, std::pair<int32_t, int32_t>> first_;
  std::vector<int32_t> rows_;
  std::vector<int32_t> next_;
};
