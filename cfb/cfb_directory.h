// The directory of a compound document: 128-byte entries, where each storage's children form
// a tree of siblings. Only the root storage and its own children are read, since that is
// where a workbook's streams live. A Directory owns a copy of the directory's bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Cfb {

enum EntryType : uint8_t { kUnusedEntry = 0, kStorageEntry = 1, kStreamEntry = 2, kRootEntry = 5 };

struct DirEntry {
  uint8_t type = kUnusedEntry;
  uint32_t startSector = 0;
  uint64_t size = 0;  // already cut to its low 32 bits in version 3 files
};

class Directory {
 public:
  // False when entry 0 is not the root, or the root's child tree points outside the
  // directory, reaches an unused entry or loops.
  bool Load(std::vector<uint8_t> bytes, uint16_t majorVersion);

  const DirEntry& Root() const { return root_; }
  // The stream called `name` directly under the root (names compared as the format does).
  bool FindStream(std::u16string_view name, DirEntry& out) const;

 private:
  uint32_t EntryCount() const;
  DirEntry EntryAt(uint32_t index) const;
  bool NameAt(uint32_t index, std::u16string& name) const;

  std::vector<uint8_t> bytes_;
  uint16_t majorVersion_ = 3;
  DirEntry root_;
  std::vector<uint32_t> rootChildren_;
};

// The format's upper-casing of one name unit (ASCII, Latin-1, Latin Extended-A, Greek, Cyrillic).
char16_t UpperCaseUnit(char16_t c);

// The format's name order: the shorter name first; equal lengths compare unit by unit,
// upper-cased. Negative, zero or positive.
int CompareNames(std::u16string_view a, std::u16string_view b);

}  // namespace Cfb
