#include "builder/grid_table.h"

#include "builder/grid_cell_values.h"
#include "builder/workbook_table.h"
#include "ods/ods_book.h"
#include "xlsx/xlsx_book.h"

namespace {

struct GridCellReading {
  static void TextInto(const Grid::GridCell& cell, std::string& out) { GridCellTextInto(cell, out); }
  static std::optional<int32_t> Tempo(const Grid::GridCell& cell) { return GridCellTempo(cell); }
};

}  // namespace

std::unique_ptr<Table> MakeXlsxTable(char) { return std::make_unique<WorkbookTable<Xlsx::XlsxBook, GridCellReading>>(); }
std::unique_ptr<Table> MakeOdsTable(char) { return std::make_unique<WorkbookTable<Ods::OdsBook, GridCellReading>>(); }
