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
  // Every field of every row, plus one column and one row past the table (read as empty).
  for (int32_t r = 0; r <= rows; ++r)
    for (uint32_t c = 0; c <= TextCell::kFieldCount; ++c) {
      TextCell* cell = sheet->Cell(static_cast<uint32_t>(r), c);
      volatile int32_t type = cell->Type();
      volatile const char* text = cell->GetString();
      int32_t value = 0;
      volatile bool ok = cell->GetInteger(value);
      if (text == nullptr) __builtin_trap();  // never null
      if ((r == rows || c == TextCell::kFieldCount) && (type != TextCell::CellUndefined || ok)) __builtin_trap();
      (void)type, (void)ok;
    }
  return 0;
}
