// SettingsIndex: the settings rows grouped by folded lookup name, built once per build so each
// setlist entry is found without rescanning the table. Rows of one name stay in row order, so
// the records come out exactly as a full scan of the table would produce them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// ASCII A-Z become a-z; every other byte, including letters beyond ASCII, is kept.
std::string FoldAscii(std::string_view text);

class SettingsIndex {
 public:
  void Reserve(size_t rows) { rows_.reserve(rows); }
  // Rows must be added in increasing order.
  void Add(std::string folded_name, int32_t row);
  // The rows whose folded name equals `folded_name` byte for byte, in row order.
  const std::vector<int32_t>& Find(const std::string& folded_name) const;

 private:
  std::unordered_map<std::string, std::vector<int32_t>> rows_;
};
