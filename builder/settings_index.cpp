#include "builder/settings_index.h"

#include <utility>

std::string FoldAscii(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

void SettingsIndex::Reserve(size_t rows) {
  first_.reserve(rows);
  rows_.reserve(rows);
  next_.reserve(rows);
}

void SettingsIndex::Add(std::string folded_name, int32_t row) {
  const auto slot = static_cast<int32_t>(rows_.size());
  rows_.push_back(row);
  next_.push_back(-1);
  const auto [it, inserted] = first_.try_emplace(std::move(folded_name), slot, slot);
  if (!inserted) {
    next_[static_cast<size_t>(it->second.second)] = slot;
    it->second.second = slot;
  }
}
