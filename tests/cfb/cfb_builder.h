// Test-only maker of compound documents: well-formed version 3 and 4 files with streams in
// regular sectors or in the mini stream, plus the layout facts (where each table and entry
// sits) with which a test damages a file on purpose. Everything is built in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace CfbTest {

// Directory entry fields, as offsets inside a 128-byte entry.
inline constexpr size_t kEntryNameLength = 64, kEntryType = 66, kEntryLeft = 68,
                        kEntryRight = 72, kEntryChild = 76, kEntryStart = 116, kEntrySize = 120;
inline constexpr uint32_t kEnd = 0xFFFFFFFE, kFree = 0xFFFFFFFF;

struct Layout {
  uint32_t sectorSize = 512;
  std::vector<uint32_t> fatSectors, difatSectors, dirSectors, miniFatSectors, miniStreamSectors;
  std::vector<uint32_t> streamStart;  // per AddStream call: first sector (mini sector if small)
  std::vector<uint32_t> streamEntry;  // per AddStream call: its directory entry
  std::vector<std::vector<uint32_t>> streamChain;  // per AddStream call: all its (mini) sectors
};

class Builder {
 public:
  explicit Builder(uint16_t version = 3) : version_(version) {}

  // A stream directly under the root; returns its index in the Layout's stream lists.
  size_t AddStream(const std::u16string& name, std::vector<uint8_t> data);
  // A storage under the root holding one stream; the stream's index is returned.
  size_t AddStorageWithStream(const std::u16string& storage, const std::u16string& name,
                              std::vector<uint8_t> data);
  // FAT sectors beyond those needed, all free: enough of them push the FAT past the 109
  // header entries into a DIFAT chain.
  void SetExtraFatSectors(uint32_t n) { extraFat_ = n; }
  // Allocate the sectors of regular streams in turn, one each, so their chains interleave.
  void SetInterleave(bool on) { interleave_ = on; }

  std::vector<uint8_t> Build(Layout* layout = nullptr) const;

 private:
  struct Node {
    std::u16string name;
    uint8_t type;                 // 1 storage, 2 stream
    std::vector<uint8_t> data;
    int parent = -1;              // index into nodes_, -1: the root
    int streamIndex = -1;
  };
  uint16_t version_;
  uint32_t extraFat_ = 0;
  bool interleave_ = false;
  std::vector<Node> nodes_;
  size_t streams_ = 0;
};

// Little-endian stores into a built file.
void Put16(std::vector<uint8_t>& file, size_t at, uint16_t v);
void Put32(std::vector<uint8_t>& file, size_t at, uint32_t v);
void Put64(std::vector<uint8_t>& file, size_t at, uint64_t v);

// Where things sit in a built file.
size_t SectorOffset(const Layout& layout, uint32_t sector);
size_t FatEntryOffset(const Layout& layout, uint32_t sector);
size_t MiniFatEntryOffset(const Layout& layout, uint32_t miniSector);
size_t DirEntryOffset(const Layout& layout, uint32_t entry);

// Deterministic, non-repeating test bytes.
std::vector<uint8_t> Pattern(size_t size, uint32_t seed);

// A fresh directory under the system's temporary folder, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  // Writes `bytes` to the file `name` in the directory; returns its path.
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const;

 private:
  std::string path_;
};

}  // namespace CfbTest
