// Read access to an OLE2 compound document (the container of an .xls file): open it for
// exclusive use and read a stream directly under the root storage, whole, into memory.
// A CompoundFile owns the open file descriptor (with its flock) and the parsed tables.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Cfb {

enum CF_RESULT : int32_t { CfSuccess = 1, CfFailed = -1, CfTooLarge = -6 };

// Each byte becomes the 16-bit unit of the same value.
std::u16string widen_string(const std::string& narrow);

class CompoundFile {
 public:
  CompoundFile();
  ~CompoundFile();
  CompoundFile(const CompoundFile&) = delete;
  CompoundFile& operator=(const CompoundFile&) = delete;

  // Mode bits: 1 read, 2 write. The document is always opened for reading only (so a
  // write-protected workbook opens) and for exclusive use: a non-blocking flock, which another
  // CompoundFile conflicts with, in this process or another. False for a missing, foreign,
  // damaged or already held file. A document this object already holds is closed first, so
  // after a failed Open the object is closed.
  //
  // Path bytes: the 8-bit form passes its bytes to the file system unchanged (UTF-8 on Linux).
  // The 16-bit form narrows each unit to one byte when every unit is at most 0xFF, so a path
  // made by widen_string reaches the same bytes; otherwise it is encoded as UTF-8. A Latin-1
  // only UTF-16 path such as u"Caf\u00e9.xls" therefore names the byte 0xE9, not UTF-8: pass
  // UTF-8 file names in the 8-bit form.
  bool Open(const std::u16string& path, int mode = 3);
  bool Open(const std::string& path, int mode = 3);
  bool Close();  // false when nothing was open
  bool IsOpen() const;

  // Streams directly under the root storage, by name (8-bit names widened). The format's
  // numbers are checked against the file: a missing stream, a damaged table or chain, or a
  // size beyond the file gives CfFailed, as does any call while closed.
  // The buffer form reads min(count, stream size) bytes from the stream's start; the vector
  // form reads the whole stream: empty when the stream is missing, empty or 4 GiB and more
  // (CfTooLarge); when the read itself fails, zero-filled at the stream's size.
  CF_RESULT FileSize(const std::u16string& name, uint64_t& size);
  CF_RESULT FileSize(const std::string& name, uint64_t& size);
  CF_RESULT ReadFile(const std::u16string& name, char* buffer, uint32_t count);
  CF_RESULT ReadFile(const std::string& name, char* buffer, uint32_t count);
  CF_RESULT ReadFile(const std::u16string& name, std::vector<char>& out);
  CF_RESULT ReadFile(const std::string& name, std::vector<char>& out);

 private:
  struct Document;
  std::unique_ptr<Document> root;
};

}  // namespace Cfb
