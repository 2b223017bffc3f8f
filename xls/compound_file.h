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

  // Mode bits: 1 read, 2 write. The document is always opened for reading and for
  // exclusive use; false for a missing, foreign, damaged or already held file.
  bool Open(const std::u16string& path, int mode = 3);
  bool Open(const std::string& path, int mode = 3);
  bool Close();  // false when nothing was open
  bool IsOpen() const;

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
