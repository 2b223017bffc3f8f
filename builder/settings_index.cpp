#include "builder/settings_index.h"

#include <utility>

std::string FoldAscii(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

void SettingsIndex::Add(std::string folded_name, int32_t row) {
  rows_[std::move(folded_name)].push_back(row);
}

const std::vector<int32_t>& SettingsIndex::Find(const std::string& folded_name) const {
  static const std::vector<int32_t> kNone;
  const auto it = rows_.find(folded_name);
  return it == rows_.end() ? kNone : it->second;
}
