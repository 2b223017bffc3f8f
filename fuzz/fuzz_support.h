// Helpers shared by the fuzz targets: fuzzer bytes as a file the readers can open by path,
// and a console that swallows lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "console/console.h"

// An anonymous in-memory file holding the bytes; path() names it for open().
class MemoryFile {
 public:
  MemoryFile(const uint8_t* data, size_t size);
  ~MemoryFile();
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;
  const std::string& path() const { return path_; }

 private:
  int fd_ = -1;
  std::string path_;
};

class NullConsole : public Console {
 public:
  void string_to_textbox(const std::string&, COLORBOX, bool) override {}
};
