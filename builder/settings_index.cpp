#include "builder/settings_index.h"

#include <algorithm>
#include <functional>
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

namespace {

uint32_t HashOf(std::string_view name) { return static_cast<uint32_t>(std::hash<std::string_view>{}(name)); }

}  // namespace

// The slot holding the name, or the free slot where it belongs.
size_t SettingsIndex::SlotOf(std::string_view folded_name, uint32_t hash) const {
  const size_t mask = slots_.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (slot.id < 0) return i;
    if (slot.hash == hash && names_[static_cast<size_t>(slot.id)] == folded_name) return i;
  }
}

void SettingsIndex::Rehash(size_t slots) {
  std::vector<Slot> old(slots);
  old.swap(slots_);
  const size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (slot.id < 0) continue;
    size_t i = slot.hash & mask;
    while (slots_[i].id >= 0) i = (i + 1) & mask;
    slots_[i] = slot;
  }
}

void SettingsIndex::Reserve(size_t names) {
  size_t slots = std::max<size_t>(16, slots_.size());
  while (slots < names * 2) slots *= 2;
  if (slots > slots_.size()) Rehash(slots);
}

int32_t SettingsIndex::AddEntry(std::string_view folded_name) {
  if ((names_.size() + 1) * 2 > slots_.size()) Rehash(std::max<size_t>(16, slots_.size() * 2));
  const uint32_t hash = HashOf(folded_name);
  Slot& slot = slots_[SlotOf(folded_name, hash)];
  if (slot.id >= 0) return slot.id;
  slot = {hash, static_cast<int32_t>(names_.size())};
  names_.emplace_back(folded_name);
  chains_.emplace_back();
  return slot.id;
}

int32_t SettingsIndex::Find(std::string_view folded_name) const {
  if (slots_.empty()) return -1;
  return slots_[SlotOf(folded_name, HashOf(folded_name))].id;
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
