// A loaded sheet written out as short lines ("B3 n 98.6", "A1 s text", "C2 fs result"),
// so reader tests compare what a sheet holds with one table of expected lines.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "grid/grid_sheet.h"

namespace sheet_text {

inline std::string Reference(int32_t row, int32_t col) {
  std::string letters;
  for (int32_t c = col + 1; c > 0; c = (c - 1) / 26) letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
  return letters + std::to_string(row + 1);
}

inline std::vector<std::string> Lines(const Grid::GridSheet& sheet) {
  std::vector<std::string> out;
  sheet.ForEachStoredCell([&](int32_t row, int32_t col, const Grid::GridCell& cell) {
    const bool formula = cell.Type() == Grid::CellFormula;
    std::string line = Reference(row, col) + (formula ? " f" : " ");
    char number[64];
    switch (cell.Holds()) {
      case Grid::Payload::kNumber:
        std::snprintf(number, sizeof number, "%.17g", cell.GetDouble());
        line += std::string("n ") + number;
        break;
      case Grid::Payload::kBoolean:
        line += "b " + std::to_string(cell.GetInteger());
        break;
      case Grid::Payload::kText:
        line += std::string("s ") + cell.GetString();
        break;
      default:
        line += "-";
    }
    out.push_back(line);
  });
  return out;
}

}  // namespace sheet_text
