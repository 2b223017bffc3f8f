// The .xlsx reader from the .xlsx parts made of the fuzzer bytes (see package_input.h), through the
// file it locks, then every cell read.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "fuzz/grid_visit.h"
#include "fuzz/package_input.h"
#include "xlsx/xlsx_book.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string package = XlsxPackageFromParts(data, size);
  MemoryFile file(reinterpret_cast<const uint8_t*>(package.data()), package.size());
  Xlsx::XlsxBook book;
  if (book.Load(file.path())) VisitGridBook(book);
  return 0;
}
