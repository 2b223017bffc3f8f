// The workbook load straight from the bytes of a "Workbook" stream (no compound file around
// it, so the fuzzer reaches the records at once), then every cell read.
#include <cstdint>

#include "fuzz/xls_visit.h"
#include "bytes/byte_span.h"
#include "xls/xls_book.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Xls::XlsBook book;
  if (!book.LoadStream(ByteOrder::ByteSpan(data, size))) return 0;
  VisitBook(book, data, size);
  return 0;
}
