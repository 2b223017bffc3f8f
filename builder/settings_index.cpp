#include "builder/settings_index.h"

#include <utility>

void FoldAsciiInPlace(std::string& text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
}

std::string FoldAscii(std::string_view text) {
  std::string folded(text);
  FoldAsciiInPlace(folded);
  return folded;
}

int32_t SettingsIndex::AddEntry(std::string_view folded_name) {
  if (const int32_t id = Find(folded_name); id >= 0) return id;
  const auto id = static_cast<int32_t>(names_.size());
  names_.emplace_back(folded_name);
  ids_.emplace(names_.back(), id);
  chains_.emplace_back();
  return id;
}

int32_t SettingsIndex::Find(std::string_view folded_name) const {
  const auto it = ids_.find(folded_name);
  return it == ids_.end() ? -1 : it->second;
}

void SettingsIndex::AddRow(int32_t id, int32_t row) {
  const auto slot = static_cast<int32_t>(rows_.size());
  rows_.push_back(row);
  next_.push_back(-1);
  Chain& chain = chains_[static_cast<size_t>(id)];
  if (chain.first < 0)
    chain.first = slot;
  else
    next_[static_cast<size_t>(chain.last)] = slot;
  chain.last = slot;
}
