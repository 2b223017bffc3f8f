// The build's view of a text-table cell: the field's own bytes, and its integer read leniently
// (leading blanks, a sign, digits up to the first non-digit).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "builder/cell_adapter.h"
#include "textbook/text_book.h"

template <>
struct CellAdapter<TextBook> {
  static bool IsEmpty(const TextCell* cell) { return cell->Type() == TextCell::CellUndefined; }
  static std::string Text(const TextCell* cell) { return cell->GetString(); }
  static std::optional<int32_t> Tempo(const TextCell* cell) {
    int32_t value = 0;
    if (!cell->GetInteger(value)) return std::nullopt;
    return value;
  }
};
