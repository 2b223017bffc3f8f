// The fixed 512-byte header of a compound document and the sector numbering it defines.
// ParseHeader checks the header on its own; CheckAgainstFile then checks its counts and
// sector numbers against the length of the file that holds it. Plain values, no ownership.
#pragma once

#include <cstdint>

#include "bytes/byte_span.h"

namespace Cfb {

// Special sector numbers; every number up to kMaxRegularSector names a sector.
inline constexpr uint32_t kMaxRegularSector = 0xFFFFFFFA;
inline constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
inline constexpr uint32_t kFreeSector = 0xFFFFFFFF;
inline constexpr uint32_t kNoEntry = 0xFFFFFFFF;  // directory: no sibling / child

inline constexpr uint32_t kHeaderSize = 512;
inline constexpr uint32_t kHeaderDifatEntries = 109;
inline constexpr uint32_t kMiniSectorSize = 64;
inline constexpr uint32_t kMiniStreamCutoff = 4096;
inline constexpr uint32_t kDirEntrySize = 128;

struct Header {
  uint16_t majorVersion = 0;     // 3 (512-byte sectors) or 4 (4096-byte sectors)
  uint32_t sectorSize = 0;
  uint32_t fatSectorCount = 0;
  uint32_t firstDirSector = 0;
  uint32_t firstMiniFatSector = 0;
  uint32_t miniFatSectorCount = 0;
  uint32_t firstDifatSector = 0;
  uint32_t difatSectorCount = 0;
  uint32_t difat[kHeaderDifatEntries] = {};

  // Byte offset of sector `n` in the file: sector 0 follows the header's own sector.
  uint64_t SectorOffset(uint32_t n) const { return (uint64_t{n} + 1) * sectorSize; }
  // Number of sectors that a file of `fileSize` bytes holds, the last one possibly cut short.
  uint32_t SectorsIn(uint64_t fileSize) const;
};

// False unless the bytes start with a well-formed header (signature, version with its sector
// size, byte-order mark, 64-byte mini sectors, 4096-byte cutoff).
bool ParseHeader(ByteOrder::ByteSpan bytes, Header& out);

// False when the header's counts or first sectors cannot lie inside a file of `fileSize` bytes.
bool CheckAgainstFile(const Header& header, uint64_t fileSize);

}  // namespace Cfb
