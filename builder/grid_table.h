// The .xlsx/.xlsm (Xlsx::XlsxBook) and .ods (Ods::OdsBook) workbooks as the build reads them:
// both readers hold the same sparse sheets of Grid cells, read by builder/grid_cell_values.h,
// through the workbook table of builder/workbook_table.h (settings from row 1, the file held
// until the table is destroyed).
#pragma once

#include <memory>

#include "builder/table.h"

// Workbooks have no delimiter; the argument is there for the table of kinds.
std::unique_ptr<Table> MakeXlsxTable(char delimiter);
std::unique_ptr<Table> MakeOdsTable(char delimiter);
