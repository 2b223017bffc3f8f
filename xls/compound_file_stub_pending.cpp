// Temporary stand-in until the compound-file reader lands: no document ever opens.
#include "xls/compound_file.h"

namespace Cfb {

std::u16string widen_string(const std::string& narrow) {
  std::u16string out;
  for (unsigned char c : narrow) out += static_cast<char16_t>(c);
  return out;
}

struct CompoundFile::Document {};

CompoundFile::CompoundFile() = default;
CompoundFile::~CompoundFile() = default;
bool CompoundFile::Open(const std::u16string&, int) { return false; }
bool CompoundFile::Open(const std::string&, int) { return false; }
bool CompoundFile::Close() { return false; }
bool CompoundFile::IsOpen() const { return false; }
CF_RESULT CompoundFile::FileSize(const std::u16string&, uint64_t&) { return CfFailed; }
CF_RESULT CompoundFile::FileSize(const std::string&, uint64_t&) { return CfFailed; }
CF_RESULT CompoundFile::ReadFile(const std::u16string&, char*, uint32_t) { return CfFailed; }
CF_RESULT CompoundFile::ReadFile(const std::string&, char*, uint32_t) { return CfFailed; }
CF_RESULT CompoundFile::ReadFile(const std::u16string&, std::vector<char>&) { return CfFailed; }
CF_RESULT CompoundFile::ReadFile(const std::string&, std::vector<char>&) { return CfFailed; }

}  // namespace Cfb
