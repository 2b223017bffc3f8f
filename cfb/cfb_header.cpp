#include "cfb/cfb_header.h"

namespace Cfb {

namespace {

constexpr uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

bool InFile(uint32_t sector, uint32_t sectorCount) { return sector < sectorCount; }

}  // namespace

uint32_t Header::SectorsIn(uint64_t fileSize) const {
  if (sectorSize == 0 || fileSize <= sectorSize) return 0;
  const uint64_t n = (fileSize - sectorSize + sectorSize - 1) / sectorSize;
  return n > kMaxRegularSector ? kMaxRegularSector : static_cast<uint32_t>(n);
}

bool ParseHeader(ByteOrder::ByteSpan bytes, Header& out) {
  if (!bytes.Has(0, kHeaderSize)) return false;
  for (size_t i = 0; i < sizeof kSignature; ++i)
    if (bytes.U8(i) != kSignature[i]) return false;
  if (bytes.U16(28) != 0xFFFE) return false;  // byte-order mark: always little-endian

  Header h;
  h.majorVersion = bytes.U16(26);
  const uint16_t sectorShift = bytes.U16(30);
  if (h.majorVersion == 3) {
    if (sectorShift != 9) return false;
  } else if (h.majorVersion == 4) {
    if (sectorShift != 12) return false;
  } else {
    return false;
  }
  h.sectorSize = 1u << sectorShift;
  if (bytes.U16(32) != 6) return false;  // mini sector shift: 64-byte mini sectors
  if (bytes.U32(56) != kMiniStreamCutoff) return false;

  h.fatSectorCount = bytes.U32(44);
  h.firstDirSector = bytes.U32(48);
  h.firstMiniFatSector = bytes.U32(60);
  h.miniFatSectorCount = bytes.U32(64);
  h.firstDifatSector = bytes.U32(68);
  h.difatSectorCount = bytes.U32(72);
  for (uint32_t i = 0; i < kHeaderDifatEntries; ++i) h.difat[i] = bytes.U32(76 + 4 * i);
  out = h;
  return true;
}

bool CheckAgainstFile(const Header& header, uint64_t fileSize) {
  const uint32_t sectors = header.SectorsIn(fileSize);
  // The directory and at least one FAT sector must exist; no table can outnumber the sectors.
  if (header.fatSectorCount == 0 || header.fatSectorCount > sectors) return false;
  if (header.difatSectorCount > sectors || header.miniFatSectorCount > sectors) return false;
  if (!InFile(header.firstDirSector, sectors)) return false;
  if (header.fatSectorCount > kHeaderDifatEntries && !InFile(header.firstDifatSector, sectors))
    return false;
  return true;
}

}  // namespace Cfb
