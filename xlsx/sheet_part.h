// One worksheet part (<sheetData>) read into a SheetBuilder: typed cells by their
// references (or, where a writer left them out, the next column / next row). Shared-string
// cells keep their index until the book resolves them against the table.
#pragma once

#include "grid/grid_sheet.h"
#include "grid/load_budget.h"
#include "grid/sheet_builder.h"
#include "zip/zip_archive.h"

namespace Xlsx {

// False when the part is damaged, refused or over a limit (a reference past the sheet,
// a number that does not read, too many cells or too much text).
bool ReadSheetPart(const Zip::Archive& archive, uint64_t index, Grid::GridSheet& sheet,
                   Grid::LoadBudget& budget, Grid::SheetBuilder& builder);

}  // namespace Xlsx
