// A workbook file held for exclusive use: opened read-only with a non-blocking exclusive
// flock that lasts as long as this object, so a second reader (in this process or another)
// cannot load it meanwhile. Owns the descriptor; reads the whole file within a size limit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Zip {

class LockedFile {
 public:
  LockedFile() = default;
  ~LockedFile() { Close(); }
  LockedFile(const LockedFile&) = delete;
  LockedFile& operator=(const LockedFile&) = delete;

  // False (and nothing held) for a missing, unreadable, non-regular or already locked file.
  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }

  // The whole file into `out`; false when it is larger than `maxBytes` or cannot be read.
  bool ReadAll(uint64_t maxBytes, std::vector<uint8_t>& out) const;

 private:
  int fd_ = -1;
};

}  // namespace Zip
