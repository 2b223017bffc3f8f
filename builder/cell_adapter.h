// CellAdapter<Book>: how the build reads one cell of a workbook kind. The build itself is the
// same for every reader; each reader supplies a specialisation with three static operations on
// the cell pointer its worksheets' Cell(row, col) returns:
//   bool IsEmpty(cell)                      type code 0 (CellUndefined)
//   std::string Text(cell)                  the cell's text as UTF-8 bytes
//   std::optional<int32_t> Tempo(cell)      the integer value; nullopt when none can be read
#pragma once

template <class Book>
struct CellAdapter;
