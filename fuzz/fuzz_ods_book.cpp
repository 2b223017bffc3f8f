// The .ods reader from an .ods content part made of the fuzzer bytes (see package_input.h), through the
// file it locks, then every cell read.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "fuzz/grid_visit.h"
#include "fuzz/package_input.h"
#include "ods/ods_book.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string package = OdsPackageFromContent(data, size);
  MemoryFile file(reinterpret_cast<const uint8_t*>(package.data()), package.size());
  Ods::OdsBook book;
  if (book.Load(file.path())) VisitGridBook(book);
  return 0;
}
