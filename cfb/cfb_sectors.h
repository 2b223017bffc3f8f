// Sector-level reading of a compound document: the FAT (found through the header's DIFAT
// entries and the DIFAT chain) and the bytes of sector chains. Reads through a LockedFile
// owned by the caller; every table read is bounded by the file's length.
#pragma once

#include <cstdint>
#include <vector>

#include "lockedfile/locked_file.h"
#include "cfb/cfb_header.h"

namespace Cfb {

// The whole FAT, one next-sector entry per sector; false when a FAT or DIFAT sector is
// missing, repeated or outside the file.
bool LoadFat(const LockedFile& file, const Header& header, std::vector<uint32_t>& fat);

// The first `size` bytes of the sectors in `chain` (which must hold that many) into `dest`.
bool ReadChainBytes(const LockedFile& file, const Header& header,
                    const std::vector<uint32_t>& chain, uint64_t size, uint8_t* dest);

// Every byte of the chain from `start` to its end mark (the directory, the mini FAT).
bool LoadWholeChain(const LockedFile& file, const Header& header, const std::vector<uint32_t>& fat,
                    uint32_t start, std::vector<uint8_t>& bytes);

}  // namespace Cfb
