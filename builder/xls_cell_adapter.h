// The build's view of an .xls cell (CellAdapter<Xls::XlsBook>): empty is CellUndefined (blank
// and error cells read so too); texts and tempos come from builder/xls_cell_values.h. A null
// cell (outside the sheet's limits, which the build never asks for) reads as empty.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "builder/cell_adapter.h"
#include "builder/xls_cell_values.h"
#include "xls/xls_book.h"

template <>
struct CellAdapter<Xls::XlsBook> {
  static bool IsEmpty(const Xls::XlsCell* cell) { return !cell || cell->Type() == Xls::CellUndefined; }
  static std::string Text(const Xls::XlsCell* cell) { return cell ? XlsCellText(*cell) : std::string(); }
  static std::optional<int32_t> Tempo(const Xls::XlsCell* cell) {
    return cell ? XlsCellTempo(*cell) : std::nullopt;
  }
};
