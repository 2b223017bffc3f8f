// XlsTable: an .xls workbook (Xls::XlsBook) as the build reads it. Row 0 of a settings
// workbook holds the column headings, so settings start at row 1. The book holds its file for
// exclusive use until the table is destroyed, so one file chosen for both tables stops the build.
// Texts and tempos come from builder/xls_cell_values.h.
#pragma once

#include <memory>

#include "builder/table.h"

// Workbooks have no delimiter; the argument is there for the table of kinds.
std::unique_ptr<Table> MakeXlsTable(char delimiter);
