#include "cfb/cfb_sectors.h"

#include <algorithm>

#include "bytes/byte_span.h"
#include "cfb/cfb_chain.h"

namespace Cfb {

namespace {

// Sector numbers of the FAT, header entries first, then the DIFAT chain, `fatSectorCount` in all.
bool CollectFatSectors(const LockedFile& file, const Header& header, uint32_t sectors,
                       std::vector<uint32_t>& out) {
  const uint32_t wanted = header.fatSectorCount;  // no more than `sectors`: checked at open
  out.clear();
  out.reserve(wanted);
  for (uint32_t i = 0; i < kHeaderDifatEntries && out.size() < wanted; ++i)
    out.push_back(header.difat[i]);

  const uint32_t perSector = header.sectorSize / 4 - 1;  // the last entry links to the next
  std::vector<bool> seen(sectors, false);
  std::vector<uint8_t> buffer(header.sectorSize);
  uint32_t difat = header.firstDifatSector;
  while (out.size() < wanted) {
    if (difat >= sectors || seen[difat]) return false;  // chain ended early, strays or loops
    seen[difat] = true;
    if (!file.ReadAt(header.SectorOffset(difat), buffer.data(), buffer.size())) return false;
    const ByteOrder::ByteSpan bytes(buffer.data(), buffer.size());
    for (uint32_t i = 0; i < perSector && out.size() < wanted; ++i) out.push_back(bytes.U32(4 * i));
    difat = bytes.U32(4 * perSector);
  }
  for (uint32_t s : out)
    if (s >= sectors) return false;
  return true;
}

}  // namespace

bool LoadFat(const LockedFile& file, const Header& header, std::vector<uint32_t>& fat) {
  fat.clear();
  const uint32_t sectors = header.SectorsIn(file.Size());
  if (header.fatSectorCount == 0 || header.fatSectorCount > sectors) return false;
  std::vector<uint32_t> fatSectors;
  if (!CollectFatSectors(file, header, sectors, fatSectors)) return false;

  // Read as a chain of its own: writers store the FAT's sectors side by side, so a large FAT
  // comes in a read or two instead of one per sector.
  // Read into the table itself, each entry then decoded where it lies: no second buffer.
  // Sectors are 512 or 4096 bytes, whole entries each; the size is no larger than the file.
  const size_t size = size_t{header.sectorSize} * fatSectors.size();
  fat.resize(size / 4);
  uint8_t* raw = reinterpret_cast<uint8_t*>(fat.data());
  if (!ReadChainBytes(file, header, fatSectors, size, raw)) {
    fat.clear();
    return false;
  }
  const ByteOrder::ByteSpan bytes(raw, size);
  for (size_t i = 0; i < fat.size(); ++i) fat[i] = bytes.U32(4 * i);
  return true;
}

bool ReadChainBytes(const LockedFile& file, const Header& header,
                    const std::vector<uint32_t>& chain, uint64_t size, uint8_t* dest) {
  const uint64_t sectorSize = header.sectorSize;
  if (size > chain.size() * sectorSize) return false;
  // One read per run of consecutive sectors: writers mostly lay a stream out in one piece.
  size_t i = 0;
  uint64_t done = 0;
  while (done < size) {
    size_t run = 1;
    while (i + run < chain.size() && chain[i + run] == chain[i] + run) ++run;
    const uint64_t part = std::min<uint64_t>(run * sectorSize, size - done);
    if (!file.ReadAt(header.SectorOffset(chain[i]), dest + done, static_cast<size_t>(part)))
      return false;
    done += part;
    i += run;
  }
  return true;
}

bool LoadWholeChain(const LockedFile& file, const Header& header, const std::vector<uint32_t>& fat,
                    uint32_t start, std::vector<uint8_t>& bytes) {
  bytes.clear();
  std::vector<uint32_t> chain;
  if (!FollowChainToEnd(fat, start, header.SectorsIn(file.Size()), chain)) return false;
  bytes.resize(chain.size() * size_t{header.sectorSize});
  return ReadChainBytes(file, header, chain, bytes.size(), bytes.data());
}

}  // namespace Cfb
