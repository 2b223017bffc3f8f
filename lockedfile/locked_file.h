// A workbook file held for exclusive use: open read-only with an exclusive lock (flock,
// non-blocking) for as long as this object lives, so a second reader, in this process or
// another, cannot load it meanwhile. Owns the descriptor; every read is positioned (pread)
// and must deliver exactly the bytes asked for. The compound-file and zip readers both hold
// their file through it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class LockedFile {
 public:
  LockedFile() = default;
  ~LockedFile();
  LockedFile(LockedFile&& other) noexcept;
  LockedFile& operator=(LockedFile&& other) noexcept;
  LockedFile(const LockedFile&) = delete;
  LockedFile& operator=(const LockedFile&) = delete;

  // Opens the regular file named by the path bytes and takes the exclusive lock; false (and
  // nothing held) when it is missing, not a regular file, unreadable or locked by anyone.
  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }
  uint64_t Size() const { return size_; }

  // Reads `count` bytes at `offset` into `dest`; false when the file cannot deliver them all.
  bool ReadAt(uint64_t offset, void* dest, size_t count) const;
  // The whole file into `out`; false (and `out` empty) when it is larger than `maxBytes` or
  // cannot be read.
  bool ReadAll(uint64_t maxBytes, std::vector<uint8_t>& out) const;

 private:
  int fd_ = -1;
  uint64_t size_ = 0;
};
