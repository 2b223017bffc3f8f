// Shared by the workbook fuzz targets: read every cell of every loaded sheet through each
// accessor (and a formula's data), then grow one sheet's grid through the growing Cell.
#pragma once

#include <cstddef>
#include <cstdint>

#include "xls/xls_book.h"

inline void VisitBook(Xls::XlsBook& book, const uint8_t* data, size_t size) {
  volatile size_t sink = 0;
  char narrow[64];
  char16_t wide[64];
  int64_t budget = 1 << 20;
  const int32_t count = book.GetTotalWorkSheets();
  for (int32_t s = 0; s < count; ++s) {
    book.GetSheetName(s, narrow, sizeof narrow);
    book.GetSheetName(s, wide, 64);
    Xls::XlsSheet* sheet = book.GetWorksheet(s);
    if (!sheet) continue;
    const Xls::XlsSheet& grid = *sheet;
    // Every stored cell, then the dense grid (empty cells included) while the budget lasts:
    // a one-cell sheet at row 65535 is 16 million reads, too slow for every input.
    grid.ForEachStoredCell([&](int32_t r, int32_t c, const Xls::XlsCell& cell) {
      if (grid.Cell(r, c) != &cell) __builtin_trap();
    });
    for (int32_t r = 0; r < grid.GetTotalRows() && budget > 0; ++r)
      for (int32_t c = 0; c < grid.GetTotalCols() && budget > 0; ++c, --budget) {
        const Xls::XlsCell* cell = grid.Cell(r, c);
        if (!cell) __builtin_trap();  // every cell inside the grid reads
        sink = sink + static_cast<size_t>(cell->Type()) + static_cast<size_t>(cell->GetInteger());
        sink = sink + static_cast<size_t>(cell->GetDouble() != 0.0);
        if (const char* t = cell->GetString()) sink = sink + static_cast<size_t>(t[0]);
        if (const char16_t* t = cell->GetWString()) sink = sink + t[0];
        sink = sink + cell->GetStringLength() + cell->GetMergedRows() + cell->GetMergedColumns();
        if (const auto* f = cell->GetFormula()) {
          sink = sink + f->tokens.size() + f->sharedTokens.size() + f->wideResult.size() +
                 f->narrowResult.size() + static_cast<size_t>(f->HasNumber() ? f->Number() != 0 : 0);
        }
      }
  }
  // Grow the first sheet to a place the input chooses (its last three bytes): the grid may
  // reach 65536 x 256 and no further.
  if (count > 0 && size >= 3) {
    Xls::XlsSheet* sheet = book.GetWorksheet(0);
    const int32_t row = (data[size - 3] << 8) | data[size - 2];
    const int32_t col = data[size - 1];
    Xls::XlsCell* cell = sheet->Cell(row, col);
    if (!cell) __builtin_trap();
    cell->SetInteger(7);
    if (sheet->Cell(65536, 0) || sheet->Cell(0, 256) || sheet->Cell(-1, 0)) __builtin_trap();
    const Xls::XlsSheet& grid = *sheet;
    if (grid.GetTotalRows() <= row || grid.GetTotalCols() <= col) __builtin_trap();
    const Xls::XlsCell* again = grid.Cell(row, col);
    if (!again || again->GetInteger() != 7) __builtin_trap();
  }
  (void)sink;
}
