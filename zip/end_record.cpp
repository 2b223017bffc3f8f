#include "zip/end_record.h"

#include "zip/byte_reader.h"

namespace Zip {
namespace {

constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint32_t kZip64LocatorSignature = 0x07064b50;
constexpr size_t kEndRecordBytes = 22;
constexpr size_t kLocatorBytes = 20;
constexpr size_t kMaxCommentBytes = 0xFFFF;

}  // namespace

bool CheckEndRecord(const uint8_t* data, size_t size, uint64_t maxEntries) {
  if (size < kEndRecordBytes) return false;
  ByteReader in(data, size);
  const size_t lowest = size - kEndRecordBytes > kMaxCommentBytes ? size - kEndRecordBytes - kMaxCommentBytes : 0;
  for (size_t at = size - kEndRecordBytes + 1; at-- > lowest;) {
    uint32_t signature = 0;
    if (!in.Seek(at) || !in.U32(signature) || signature != kEndSignature) continue;
    uint16_t disk, directoryDisk, entriesHere, entries, commentBytes;
    uint32_t directorySize, directoryOffset;
    if (!in.U16(disk) || !in.U16(directoryDisk) || !in.U16(entriesHere) || !in.U16(entries) ||
        !in.U32(directorySize) || !in.U32(directoryOffset) || !in.U16(commentBytes))
      return false;
    // A stray signature inside the comment of the real record does not end the file.
    if (commentBytes > size - at - kEndRecordBytes) continue;
    if (disk != 0 || directoryDisk != 0 || entriesHere != entries) return false;
    if (entries == 0xFFFF || directorySize == 0xFFFFFFFF || directoryOffset == 0xFFFFFFFF) return false;
    uint32_t locator = 0;
    if (at >= kLocatorBytes && in.Seek(at - kLocatorBytes) && in.U32(locator) &&
        locator == kZip64LocatorSignature)
      return false;
    return entries <= maxEntries;
  }
  return false;
}

}  // namespace Zip
