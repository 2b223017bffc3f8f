#include "xlsx/cell_reference.h"

#include "grid/grid_sheet.h"

namespace Xlsx {

bool ParseRowNumber(std::string_view text, uint32_t& row) {
  if (text.empty() || text.size() > 7) return false;
  uint32_t n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    n = n * 10 + static_cast<uint32_t>(c - '0');
  }
  if (n == 0 || n > static_cast<uint32_t>(Grid::GridSheet::kMaxRows)) return false;
  row = n - 1;
  return true;
}

bool ParseCellReference(std::string_view text, uint32_t& row, uint32_t& col) {
  size_t i = 0;
  uint32_t n = 0;
  // Absolute references ("$B$7") appear in some writers' output.
  if (i < text.size() && text[i] == '$') ++i;
  const size_t lettersFrom = i;
  for (; i < text.size() && i - lettersFrom < 4; ++i) {
    char c = text[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c < 'A' || c > 'Z') break;
    n = n * 26 + static_cast<uint32_t>(c - 'A' + 1);
  }
  if (i == lettersFrom || n > static_cast<uint32_t>(Grid::GridSheet::kMaxColumns)) return false;
  if (i < text.size() && text[i] == '$') ++i;
  if (!ParseRowNumber(text.substr(i), row)) return false;
  col = n - 1;
  return true;
}

}  // namespace Xlsx
