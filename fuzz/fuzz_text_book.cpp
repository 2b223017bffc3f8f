// The text workbook over arbitrary bytes, with cell reads at every row and column.
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "textbook/text_book.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemoryFile file(data, size);
  TextBook book;
  if (!book.Load(file.path())) return 0;
  TextSheet* sheet = book.GetWorksheet(0);
  const int32_t rows = sheet->GetTotalRows();
  for (int32_t r = 0; r < rows; ++r)
    for (uint32_t c = 0; c < 5; ++c) {
      TextCell* cell = sheet->Cell(static_cast<uint32_t>(r), c);
      volatile int32_t type = cell->Type();
      volatile const char* text = cell->GetString();
      int32_t value = 0;
      volatile bool ok = cell->GetInteger(value);
      (void)type, (void)text, (void)ok;
    }
  return 0;
}
