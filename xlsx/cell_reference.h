// A1-style cell references ("B7", "XFD1048576") and row numbers, as zero-based positions
// inside the largest sheet (1,048,576 rows x 16,384 columns); anything else is refused.
#pragma once

#include <cstdint>
#include <string_view>

namespace Xlsx {

bool ParseCellReference(std::string_view text, uint32_t& row, uint32_t& col);
// A one-based row number, given back zero-based.
bool ParseRowNumber(std::string_view text, uint32_t& row);

}  // namespace Xlsx
