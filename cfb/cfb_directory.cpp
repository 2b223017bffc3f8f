#include "cfb/cfb_directory.h"

#include <utility>

#include "bytes/byte_span.h"
#include "cfb/cfb_header.h"

namespace Cfb {

namespace {

// Field offsets inside a directory entry.
constexpr size_t kNameLength = 64, kType = 66, kLeft = 68, kRight = 72, kChild = 76,
                 kStart = 116, kSize = 120;
constexpr size_t kMaxNameBytes = 64;

}  // namespace

char16_t UpperCaseUnit(char16_t c) {
  if (c >= u'a' && c <= u'z') return c - 0x20;
  if (c < 0xE0) return c;
  if (c <= 0xFE) return c == 0xF7 ? c : c - 0x20;  // Latin-1 letters, except the division sign
  if (c == 0xFF) return 0x178;
  if (c >= 0x100 && c <= 0x17F) {  // Latin Extended-A: pairs, with the parity flipping twice
    const bool oddLower = (c <= 0x137) || (c >= 0x14A && c <= 0x177);
    const bool evenLower = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
    if ((oddLower && (c & 1)) || (evenLower && !(c & 1))) return c - 1;
    return c;
  }
  if (c >= 0x3B1 && c <= 0x3C9) return c == 0x3C2 ? 0x3A3 : c - 0x20;  // Greek
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;                       // Cyrillic
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  return c;
}

int CompareNames(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  for (size_t i = 0; i < a.size(); ++i) {
    const char16_t x = UpperCaseUnit(a[i]), y = UpperCaseUnit(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return 0;
}

uint32_t Directory::EntryCount() const {
  const size_t n = bytes_.size() / kDirEntrySize;
  return n > kNoEntry ? kNoEntry : static_cast<uint32_t>(n);
}

DirEntry Directory::EntryAt(uint32_t index) const {
  const ByteOrder::ByteSpan entry =
      ByteOrder::ByteSpan(bytes_.data(), bytes_.size()).Sub(size_t{index} * kDirEntrySize, kDirEntrySize);
  DirEntry e;
  e.type = entry.U8(kType);
  e.startSector = entry.U32(kStart);
  e.size = majorVersion_ == 3 ? entry.U32(kSize) : entry.U64(kSize);
  return e;
}

bool Directory::NameAt(uint32_t index, std::u16string& name) const {
  const ByteOrder::ByteSpan entry =
      ByteOrder::ByteSpan(bytes_.data(), bytes_.size()).Sub(size_t{index} * kDirEntrySize, kDirEntrySize);
  const uint16_t length = entry.U16(kNameLength);  // in bytes, with the terminating zero
  if (length < 2 || length > kMaxNameBytes || length % 2 != 0) return false;
  name.clear();
  for (size_t i = 0; i + 2 < length; i += 2) name.push_back(static_cast<char16_t>(entry.U16(i)));
  return true;
}

bool Directory::Load(std::vector<uint8_t> bytes, uint16_t majorVersion) {
  bytes_ = std::move(bytes);
  majorVersion_ = majorVersion;
  rootChildren_.clear();
  const uint32_t count = EntryCount();
  if (count == 0) return false;
  root_ = EntryAt(0);
  if (root_.type != kRootEntry) return false;

  // Visit the root's child tree; each entry may be reached once, so a loop cannot spin.
  const ByteOrder::ByteSpan all(bytes_.data(), bytes_.size());
  std::vector<bool> seen(count, false);
  seen[0] = true;
  std::vector<uint32_t> pending{all.U32(kChild)};
  while (!pending.empty()) {
    const uint32_t index = pending.back();
    pending.pop_back();
    if (index == kNoEntry) continue;
    if (index >= count || seen[index]) return false;
    seen[index] = true;
    const uint8_t type = EntryAt(index).type;
    if (type != kStorageEntry && type != kStreamEntry) return false;
    rootChildren_.push_back(index);
    const size_t at = size_t{index} * kDirEntrySize;
    pending.push_back(all.U32(at + kLeft));
    pending.push_back(all.U32(at + kRight));
  }
  return true;
}

bool Directory::FindStream(std::u16string_view name, DirEntry& out) const {
  std::u16string candidate;
  for (uint32_t index : rootChildren_) {
    if (!NameAt(index, candidate) || CompareNames(candidate, name) != 0) continue;
    const DirEntry e = EntryAt(index);
    if (e.type != kStreamEntry) return false;  // a storage of that name, not a stream
    out = e;
    return true;
  }
  return false;
}

}  // namespace Cfb
