// The workbook load from arbitrary bytes through the compound file, then every cell read.
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "fuzz/xls_visit.h"
#include "xls/xls_book.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemoryFile file(data, size);
  Xls::XlsBook book;
  if (!book.Load(file.path())) return 0;
  VisitBook(book, data, size);
  book.Close();
  return 0;
}
