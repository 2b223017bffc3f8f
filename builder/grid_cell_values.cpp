#include "builder/grid_cell_values.h"

#include "text/numbers.h"

// A formula cell carries its cached result in the same payload as a plain cell, so both read
// alike; only the payload decides.
std::string GridCellText(const Grid::GridCell& cell) {
  switch (cell.Holds()) {
    case Grid::Payload::kNumber: return NumberText(cell.GetDouble());
    case Grid::Payload::kBoolean: return cell.GetInteger() ? "1" : "0";
    case Grid::Payload::kText: return cell.GetString();
    case Grid::Payload::kNone:
    case Grid::Payload::kSharedText: return {};  // a shared index is resolved by the load
  }
  return {};
}

void GridCellTextInto(const Grid::GridCell& cell, std::string& out) {
  if (cell.Holds() == Grid::Payload::kText) {
    const char* text = cell.GetString();
    out.assign(text ? text : "");
    return;
  }
  out = GridCellText(cell);
}

std::optional<int32_t> GridCellTempo(const Grid::GridCell& cell) {
  switch (cell.Holds()) {
    case Grid::Payload::kNumber: return TruncatedInteger(cell.GetDouble());
    case Grid::Payload::kBoolean: return cell.GetInteger();
    case Grid::Payload::kText: return LeadingInteger(cell.GetString());
    case Grid::Payload::kNone:
    case Grid::Payload::kSharedText: return std::nullopt;
  }
  return std::nullopt;
}
