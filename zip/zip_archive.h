// A zip archive read from bytes in memory through libzip, with the limits a hostile file
// meets: no zip64, no split archives, at most kMaxEntries entries, and every entry inflated
// in chunks whose bytes are counted as they come (declared sizes are never trusted). The
// archive borrows the bytes, which must outlive it; two archives over the same bytes may be
// read on two threads at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

struct zip;
struct zip_file;

namespace Zip {

class Archive {
 public:
  static constexpr uint64_t kMaxArchiveBytes = uint64_t{256} << 20;
  static constexpr uint64_t kMaxEntries = 10000;
  // An entry may inflate to at most kMaxInflatedBytes, and to at most kMaxInflateRatio
  // times the compressed bytes it is stored in (deflate itself cannot exceed about 1032).
  static constexpr uint64_t kMaxInflatedBytes = uint64_t{256} << 20;
  static constexpr uint64_t kMaxInflateRatio = 1000;

  Archive() = default;
  ~Archive() { Close(); }
  Archive(const Archive&) = delete;
  Archive& operator=(const Archive&) = delete;

  // False when the bytes are not a single-volume, non-zip64 zip archive within the limits,
  // or two entries share a name.
  bool Open(const uint8_t* data, size_t size);
  void Close();
  bool IsOpen() const { return archive_ != nullptr; }
  const uint8_t* Data() const { return data_; }
  size_t Size() const { return size_; }

  // The entry of a part name ("xl/workbook.xml"): exact first, then ignoring ASCII case;
  // names are compared with backslashes as slashes and without a leading slash.
  std::optional<uint64_t> Find(std::string_view name) const;
  // The size the entry says it inflates to (0 when it says none): a hint, never a bound.
  uint64_t DeclaredSize(uint64_t index) const;
  // The whole inflated entry when it is at most `maxBytes`; false otherwise or when damaged.
  bool ReadWhole(uint64_t index, uint64_t maxBytes, std::string& out) const;

 private:
  friend class EntryStream;
  zip* archive_ = nullptr;
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  std::unordered_map<std::string, uint64_t> exactNames_;
  std::unordered_map<std::string, uint64_t> foldedNames_;
};

// One entry being inflated: Read fills the caller's buffer with the next inflated bytes.
class EntryStream {
 public:
  EntryStream() = default;
  ~EntryStream() { Close(); }
  EntryStream(const EntryStream&) = delete;
  EntryStream& operator=(const EntryStream&) = delete;

  bool Open(const Archive& archive, uint64_t index);
  void Close();
  // The count of bytes read into `dest` (0 at the end of the entry), or -1 when the entry is
  // damaged (bad data, CRC or size mismatch) or inflates past a limit.
  int64_t Read(void* dest, size_t capacity);
  uint64_t Inflated() const { return inflated_; }

 private:
  zip_file* file_ = nullptr;
  uint64_t inflated_ = 0;
  uint64_t limit_ = 0;
};

}  // namespace Zip
