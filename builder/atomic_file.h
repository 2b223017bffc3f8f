// AtomicFile: writes a file under a temporary name in the target's folder and renames it over
// the target only when every byte was written, synced and closed. Until Commit succeeds the
// target is untouched; a failed or abandoned write leaves nothing behind.
#pragma once

#include <string>
#include <string_view>

class AtomicFile {
 public:
  AtomicFile() = default;
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;
  ~AtomicFile();  // Removes the temporary file unless Commit succeeded.

  // Creates the temporary file. False, creating nothing, when the target cannot be written
  // there: empty path, a directory or other non-regular file at the path, a read-only file,
  // a missing or unwritable folder.
  bool Open(const std::string& path);
  // Buffers `bytes`, writing them out in large blocks. False once any write has failed.
  bool Write(std::string_view bytes);
  // Flushes, syncs, closes and renames over the target. False on any error (temp removed).
  bool Commit();

 private:
  bool Flush();
  void Discard();

  std::string target_;
  std::string temp_;
  std::string buffer_;
  int fd_ = -1;
  bool failed_ = false;
};
