// What the build reads from one cell of an .xlsx or .ods sheet (Grid::GridCell): its text and
// its tempo, by the rules of the .xls cells (builder/xls_cell_values.h), so the same table
// builds the same document from any workbook kind. The readers already hold texts as UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "grid/grid_cell.h"

// A text as it is; a number in plain decimal when whole, else its shortest form; a Boolean
// 0 or 1; a formula its cached result; "" for an empty cell and a formula without a result.
std::string GridCellText(const Grid::GridCell& cell);
// The same, written over `out`, reusing its room.
void GridCellTextInto(const Grid::GridCell& cell, std::string& out);

// A number cut toward zero, a Boolean 0 or 1, a text read like a text table's tempo, a
// formula by its cached result; nullopt when no integer can be read or it leaves 32 bits.
std::optional<int32_t> GridCellTempo(const Grid::GridCell& cell);
