// The compound-file reader over arbitrary bytes: open, size and read the workbook stream and
// a stream that is not there.
#include <cstdint>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "cfb/compound_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemoryFile file(data, size);
  Cfb::CompoundFile document;
  if (!document.Open(file.path(), 3)) return 0;
  uint64_t stream_size = 0;
  document.FileSize("Workbook", stream_size);
  std::vector<char> stream;
  document.ReadFile("Workbook", stream);
  char head[512];
  document.ReadFile("Book", head, sizeof head);
  document.ReadFile(Cfb::widen_string("\x05SummaryInformation"), stream);
  document.Close();
  return 0;
}
