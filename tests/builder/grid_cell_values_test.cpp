// The text and tempo the build takes from one .xlsx/.ods cell: every payload, plain and as a
// formula's cached result, read by the same rules as an .xls cell.
#include "builder/grid_cell_values.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using Grid::GridCell;

TEST(GridCellValues, TextAndTempoOfEveryKindOfCell) {
  const struct {
    const char* what;
    GridCell cell;
    std::string text;
    std::optional<int32_t> tempo;
  } cases[] = {
      {"whole number", GridCell::Number(120), "120", 120},
      {"fraction cut toward zero", GridCell::Number(98.6), "98.6", 98},
      {"Excel's 98.6", GridCell::Number(98.599999999999994), "98.6", 98},
      {"negative fraction", GridCell::Number(-3.5), "-3.5", -3},
      {"negative zero", GridCell::Number(-0.0), "0", 0},
      {"small fraction", GridCell::Number(0.000125), "0.000125", 0},
      {"past 32 bits", GridCell::Number(12345678901.0), "12345678901", std::nullopt},
      {"just inside 32 bits", GridCell::Number(-2147483648.9), "-2147483648.9", -2147483647 - 1},
      {"true", GridCell::Boolean(true), "1", 1},
      {"false", GridCell::Boolean(false), "0", 0},
      {"text", GridCell::Text("Cr\xC3\xA8me"), "Cr\xC3\xA8me", std::nullopt},
      {"text tempo", GridCell::Text(" 120 bpm"), " 120 bpm", 120},
      {"signed text tempo", GridCell::Text("-7x"), "-7x", -7},
      {"formula number", GridCell::FormulaNumber(98.6), "98.6", 98},
      {"formula Boolean", GridCell::FormulaBoolean(true), "1", 1},
      {"formula text", GridCell::FormulaText("96"), "96", 96},
      {"formula error or no result", GridCell::FormulaNone(), "", std::nullopt},
      {"empty cell", GridCell(), "", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GridCellText(c.cell), c.text) << c.what;
    EXPECT_EQ(GridCellTempo(c.cell), c.tempo) << c.what;
  }
}

}  // namespace
