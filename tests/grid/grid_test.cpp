// The sparse sheet model: placement in any order, sizes from values only, repeats and the
// budget, and the typed getters' conversions.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "grid/grid_sheet.h"
#include "grid/sheet_builder.h"

namespace {

using Grid::GridCell;

std::vector<std::string> Visit(const Grid::GridSheet& sheet) {
  std::vector<std::string> out;
  sheet.ForEachStoredCell([&](int32_t r, int32_t c, const GridCell& cell) {
    out.push_back(std::to_string(r) + "," + std::to_string(c) + "=" + std::to_string(cell.GetInteger()));
  });
  return out;
}

TEST(GridSheet, PlacesCellsInRowOrderWithTheLastWriteWinning) {
  Grid::GridSheet sheet;
  Grid::LoadBudget budget;
  Grid::SheetBuilder builder(sheet, budget);
  ASSERT_TRUE(builder.Add(5, 2, GridCell::Number(52)));
  ASSERT_TRUE(builder.Add(0, 3, GridCell::Number(3)));
  ASSERT_TRUE(builder.Add(5, 0, GridCell::Number(50)));
  ASSERT_TRUE(builder.Add(5, 2, GridCell::Number(99)));
  ASSERT_TRUE(builder.Add(7, 1, GridCell()));  // empty: no value, no size
  ASSERT_TRUE(builder.NoteValue(6, 9));          // an error value sizes the sheet
  builder.Finish();
  EXPECT_EQ(Visit(sheet), (std::vector<std::string>{"0,3=3", "5,0=50", "5,2=99"}));
  EXPECT_EQ(sheet.GetTotalRows(), 7);
  EXPECT_EQ(sheet.GetTotalCols(), 10);
  EXPECT_EQ(sheet.Cell(5, 2)->GetInteger(), 99);
  EXPECT_EQ(sheet.Cell(5, 1)->Type(), Grid::CellUndefined);
  EXPECT_EQ(sheet.Cell(4, 0)->Type(), Grid::CellUndefined);
  EXPECT_EQ(sheet.Cell(0, 3)->GetInteger(), 3);  // after a lookup further down
  EXPECT_NE(sheet.Cell(Grid::GridSheet::kMaxRows - 1, Grid::GridSheet::kMaxColumns - 1), nullptr);
  for (auto [r, c] : {std::pair{-1, 0}, {0, -1}, {Grid::GridSheet::kMaxRows, 0}, {0, Grid::GridSheet::kMaxColumns}})
    EXPECT_EQ(sheet.Cell(r, c), nullptr) << r << "," << c;
}

TEST(GridSheet, AnEmptySheetIsOneByOne) {
  Grid::GridSheet sheet;
  Grid::LoadBudget budget;
  Grid::SheetBuilder(sheet, budget).Finish();
  EXPECT_EQ(sheet.GetTotalRows(), 1);
  EXPECT_EQ(sheet.GetTotalCols(), 1);
  EXPECT_EQ(sheet.Cell(0, 0)->Type(), Grid::CellUndefined);
}

TEST(GridSheet, RefusesPlacesPastTheSheetAndCellsPastTheBudget) {
  Grid::GridSheet sheet;
  Grid::LoadBudget budget;
  Grid::SheetBuilder builder(sheet, budget);
  EXPECT_FALSE(builder.Add(Grid::GridSheet::kMaxRows, 0, GridCell::Number(1)));
  EXPECT_FALSE(builder.Add(0, Grid::GridSheet::kMaxColumns, GridCell::Number(1)));
  EXPECT_FALSE(builder.NoteValue(Grid::GridSheet::kMaxRows, 0));
  for (uint32_t c = 0; c < 100; ++c) ASSERT_TRUE(builder.Add(0, c, GridCell::Number(c)));
  ASSERT_TRUE(builder.RepeatLastRow(0, 3));
  EXPECT_FALSE(builder.RepeatLastRow(3, Grid::GridSheet::kMaxRows));  // past the last row
  // 100 cells a row for a million rows is past the cell budget: refused without making them.
  EXPECT_FALSE(builder.RepeatLastRow(3, Grid::GridSheet::kMaxRows - 10));
  builder.Finish();
  EXPECT_EQ(sheet.GetTotalRows(), 4);
  EXPECT_EQ(sheet.StoredCells(), 400u);
  EXPECT_EQ(sheet.Cell(3, 99)->GetInteger(), 99);
}

TEST(GridSheet, ResolvesSharedTextsAndRefusesAnIndexPastTheTable) {
  const std::vector<const char*> table = {"zero", ""};
  Grid::GridSheet sheet;
  Grid::LoadBudget budget;
  Grid::SheetBuilder builder(sheet, budget);
  ASSERT_TRUE(builder.Add(0, 0, GridCell::SharedText(0)));
  ASSERT_TRUE(builder.Add(3, 0, GridCell::SharedText(1)));  // empty text: no value
  ASSERT_TRUE(builder.Add(1, 0, GridCell::FormulaSharedText(1)));
  ASSERT_TRUE(builder.ResolveShared(table));
  builder.Finish();
  EXPECT_STREQ(sheet.Cell(0, 0)->GetString(), "zero");
  EXPECT_EQ(sheet.Cell(1, 0)->Type(), Grid::CellFormula);
  EXPECT_EQ(sheet.GetTotalRows(), 2);

  Grid::GridSheet other;
  Grid::SheetBuilder bad(other, budget);
  ASSERT_TRUE(bad.Add(0, 0, GridCell::SharedText(2)));
  EXPECT_FALSE(bad.ResolveShared(table));
}

TEST(GridCell, GettersConvertByType) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* what;
    GridCell cell;
    int32_t type;
    const char* text;  // null: no text
    bool number;
    int32_t integer;
    double real;
  } cases[] = {
      {"empty", GridCell(), Grid::CellUndefined, nullptr, false, 0, 0},
      {"number", GridCell::Number(98.6), Grid::CellDouble, nullptr, true, 98, 98.6},
      {"negative", GridCell::Number(-3.9), Grid::CellDouble, nullptr, true, -3, -3.9},
      {"huge", GridCell::Number(1e300), Grid::CellDouble, nullptr, true, std::numeric_limits<int32_t>::max(), 1e300},
      {"tiny", GridCell::Number(-1e300), Grid::CellDouble, nullptr, true, std::numeric_limits<int32_t>::min(), -1e300},
      {"true", GridCell::Boolean(true), Grid::CellInteger, nullptr, true, 1, 1},
      {"text", GridCell::Text("120"), Grid::CellString, "120", false, 0, 0},
      {"formula number", GridCell::FormulaNumber(7.5), Grid::CellFormula, "", true, 7, 7.5},
      {"formula text", GridCell::FormulaText("ab"), Grid::CellFormula, "ab", false, 0, 0},
      {"formula Boolean", GridCell::FormulaBoolean(false), Grid::CellFormula, "", true, 0, 0},
      {"formula error", GridCell::FormulaNone(), Grid::CellFormula, "", false, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.cell.Type(), c.type);
    if (c.text) EXPECT_STREQ(c.cell.GetString(), c.text);
    else EXPECT_EQ(c.cell.GetString(), nullptr);
    int32_t i = -7;
    EXPECT_EQ(c.cell.Get(i), c.number);
    EXPECT_EQ(c.cell.GetInteger(), c.integer);
    EXPECT_EQ(c.cell.GetDouble(), c.real);
  }
  EXPECT_EQ(GridCell::Number(nan).GetInteger(), 0);
}

}  // namespace
