// Shared by the .xlsx and .ods fuzz targets: read every stored cell of every sheet through
// each accessor, check that the visit and the lookup agree, and read a bounded stretch of
// the sheet's positions, empty ones included.
#pragma once

#include <cstdint>
#include <cstring>

#include "grid/grid_sheet.h"

template <typename Book>
void VisitGridBook(const Book& book) {
  size_t sink = 0;
  int64_t budget = 1 << 16;
  for (int32_t s = 0; s < book.GetTotalWorkSheets(); ++s) {
    const Grid::GridSheet* sheet = book.GetWorksheet(s);
    if (!sheet) __builtin_trap();
    sink += sheet->Name().size();
    int32_t lastRow = -1, lastCol = -1;
    sheet->ForEachStoredCell([&](int32_t r, int32_t c, const Grid::GridCell& cell) {
      if (sheet->Cell(r, c) != &cell) __builtin_trap();
      if (r < lastRow || (r == lastRow && c <= lastCol)) __builtin_trap();  // row-major, no repeats
      if (r >= sheet->GetTotalRows() || c >= sheet->GetTotalCols()) __builtin_trap();
      lastRow = r;
      lastCol = c;
      if (const char* t = cell.GetString()) sink += std::strlen(t);
      sink += static_cast<size_t>(cell.GetInteger()) + static_cast<size_t>(cell.GetDouble() != 0);
    });
    for (int32_t r = 0; r < sheet->GetTotalRows() && budget > 0; ++r)
      for (int32_t c = 0; c < sheet->GetTotalCols() && budget > 0; ++c, --budget)
        if (!sheet->Cell(r, c)) __builtin_trap();
  }
  __asm__ volatile("" : : "g"(sink) : "memory");  // keep the reads
}
