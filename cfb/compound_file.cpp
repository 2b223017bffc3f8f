#include "cfb/compound_file.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

#include "bytes/byte_span.h"
#include "cfb/cfb_chain.h"
#include "cfb/cfb_directory.h"
#include "lockedfile/locked_file.h"
#include "cfb/cfb_header.h"
#include "cfb/cfb_sectors.h"
#include "text/utf8.h"

namespace Cfb {

namespace {

// A path given as 16-bit units, as the bytes the file system takes (see Open in the header).
bool PathBytes(const std::u16string& path, std::string& out) {
  out.clear();
  bool narrow = true;
  for (char16_t c : path) narrow = narrow && c <= 0xFF;
  if (narrow) {
    for (char16_t c : path) out.push_back(static_cast<char>(c));
    return true;
  }
  for (size_t i = 0; i < path.size(); ++i) {
    const char16_t u = path[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < path.size() && path[i + 1] >= 0xDC00 && path[i + 1] <= 0xDFFF) {
      ++i;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      return false;  // a lone surrogate names no file
    }
  }
  out = Utf16ToUtf8(path);
  return true;
}

}  // namespace

std::u16string widen_string(const std::string& narrow) {
  std::u16string wide;
  wide.reserve(narrow.size());
  for (char c : narrow) wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
  return wide;
}

// The open document: its locked file, its header, and the tables read from it on first use.
struct CompoundFile::Document {
  LockedFile file;
  Header header;
  uint32_t sectors = 0;  // sectors the file holds

  enum class Tables { NotRead, Read, Broken };
  Tables tables = Tables::NotRead;
  std::vector<uint32_t> fat;
  Directory directory;

  enum class Mini { NotRead, Read, Broken };
  Mini mini = Mini::NotRead;
  std::vector<uint32_t> miniFat;
  std::vector<uint8_t> miniStream;

  bool LoadTables();
  bool LoadMini();
  CF_RESULT Locate(const std::u16string& name, DirEntry& entry);
  bool Read(const DirEntry& entry, uint8_t* dest, uint64_t count);
};

bool CompoundFile::Document::LoadTables() {
  if (tables == Tables::NotRead) {
    std::vector<uint8_t> dirBytes;
    const bool ok = LoadFat(file, header, fat) &&
                    LoadWholeChain(file, header, fat, header.firstDirSector, dirBytes) &&
                    directory.Load(std::move(dirBytes), header.majorVersion);
    tables = ok ? Tables::Read : Tables::Broken;
  }
  return tables == Tables::Read;
}

// The mini FAT and the mini stream (the root entry's chain), held whole: both lie in the file.
bool CompoundFile::Document::LoadMini() {
  if (mini == Mini::NotRead) {
    mini = Mini::Broken;
    const DirEntry& root = directory.Root();
    std::vector<uint8_t> miniFatBytes;
    std::vector<uint32_t> chain;
    const uint64_t sectorSize = header.sectorSize;
    if (root.size > file.Size()) return false;
    if (!LoadWholeChain(file, header, fat, header.firstMiniFatSector, miniFatBytes)) return false;
    if (!FollowChain(fat, root.startSector, sectors, (root.size + sectorSize - 1) / sectorSize, chain))
      return false;
    miniStream.resize(root.size);
    if (!ReadChainBytes(file, header, chain, root.size, miniStream.data())) return false;
    const ByteOrder::ByteSpan bytes(miniFatBytes.data(), miniFatBytes.size());
    miniFat.resize(miniFatBytes.size() / 4);
    for (size_t i = 0; i < miniFat.size(); ++i) miniFat[i] = bytes.U32(4 * i);
    mini = Mini::Read;
  }
  return mini == Mini::Read;
}

CF_RESULT CompoundFile::Document::Locate(const std::u16string& name, DirEntry& entry) {
  if (!LoadTables() || !directory.FindStream(name, entry)) return CfFailed;
  if (entry.size > file.Size()) return CfFailed;  // claims more than the file could hold
  return CfSuccess;
}

bool CompoundFile::Document::Read(const DirEntry& entry, uint8_t* dest, uint64_t count) {
  if (count == 0) return true;
  std::vector<uint32_t> chain;
  if (entry.size >= kMiniStreamCutoff) {
    const uint64_t sectorSize = header.sectorSize;
    return FollowChain(fat, entry.startSector, sectors, (entry.size + sectorSize - 1) / sectorSize,
                       chain) &&
           ReadChainBytes(file, header, chain, count, dest);
  }
  if (!LoadMini()) return false;
  const uint32_t miniSectors = static_cast<uint32_t>(
      (miniStream.size() + kMiniSectorSize - 1) / kMiniSectorSize);  // below 2^32: size < file
  if (!FollowChain(miniFat, entry.startSector, miniSectors,
                   (entry.size + kMiniSectorSize - 1) / kMiniSectorSize, chain))
    return false;
  const ByteOrder::ByteSpan stream(miniStream.data(), miniStream.size());
  uint64_t done = 0;
  for (uint32_t m : chain) {
    if (done >= count) break;
    const size_t part = static_cast<size_t>(std::min<uint64_t>(kMiniSectorSize, count - done));
    const size_t at = size_t{m} * kMiniSectorSize;
    if (!stream.Has(at, part)) return false;  // the last mini sector is cut short
    std::memcpy(dest + done, stream.data() + at, part);
    done += part;
  }
  return done == count;
}

CompoundFile::CompoundFile() = default;

CompoundFile::~CompoundFile() { Close(); }

bool CompoundFile::Open(const std::string& path, int /*mode*/) {
  // A second Open must not strand the first document, locked, until the process ends.
  Close();
  auto doc = std::make_unique<Document>();
  if (!doc->file.Open(path)) return false;
  uint8_t bytes[kHeaderSize];
  if (!doc->file.ReadAt(0, bytes, sizeof bytes) ||
      !ParseHeader(ByteOrder::ByteSpan(bytes, sizeof bytes), doc->header) ||
      !CheckAgainstFile(doc->header, doc->file.Size()))
    return false;
  doc->sectors = doc->header.SectorsIn(doc->file.Size());
  root = std::move(doc);
  return true;
}

bool CompoundFile::Open(const std::u16string& path, int mode) {
  std::string bytes;
  if (!PathBytes(path, bytes)) {
    Close();
    return false;
  }
  return Open(bytes, mode);
}

bool CompoundFile::Close() {
  if (!root) return false;
  root.reset();  // closes the file, which releases the lock
  return true;
}

bool CompoundFile::IsOpen() const { return root != nullptr; }

CF_RESULT CompoundFile::FileSize(const std::u16string& name, uint64_t& size) {
  DirEntry entry;
  if (!root) return CfFailed;
  const CF_RESULT result = root->Locate(name, entry);
  if (result == CfSuccess) size = entry.size;
  return result;
}

CF_RESULT CompoundFile::FileSize(const std::string& name, uint64_t& size) {
  return FileSize(widen_string(name), size);
}

CF_RESULT CompoundFile::ReadFile(const std::u16string& name, char* buffer, uint32_t count) {
  DirEntry entry;
  if (!root) return CfFailed;
  const CF_RESULT located = root->Locate(name, entry);
  if (located != CfSuccess) return located;
  if (count > 0 && buffer == nullptr) return CfFailed;
  // Like a stream read: a count beyond the stream's end delivers the stream and no more.
  const uint64_t n = std::min<uint64_t>(count, entry.size);
  return root->Read(entry, reinterpret_cast<uint8_t*>(buffer), n) ? CfSuccess : CfFailed;
}

CF_RESULT CompoundFile::ReadFile(const std::string& name, char* buffer, uint32_t count) {
  return ReadFile(widen_string(name), buffer, count);
}

CF_RESULT CompoundFile::ReadFile(const std::u16string& name, std::vector<char>& out) {
  out.clear();
  uint64_t size = 0;
  const CF_RESULT sized = FileSize(name, size);
  if (sized != CfSuccess) return sized;
  if (size == 0) return CfSuccess;
  if (size > std::numeric_limits<uint32_t>::max()) return CfTooLarge;
  out.resize(static_cast<size_t>(size));  // bounded: FileSize refuses sizes beyond the file
  const CF_RESULT result = ReadFile(name, out.data(), static_cast<uint32_t>(size));
  if (result != CfSuccess) std::fill(out.begin(), out.end(), 0);  // no half-read data
  return result;
}

CF_RESULT CompoundFile::ReadFile(const std::string& name, std::vector<char>& out) {
  return ReadFile(widen_string(name), out);
}

}  // namespace Cfb
