#include "builder/xls_table.h"

#include "builder/workbook_table.h"
#include "builder/xls_cell_values.h"
#include "xls/xls_book.h"

namespace {

struct XlsCellReading {
  static void TextInto(const Xls::XlsCell& cell, std::string& out) { XlsCellTextInto(cell, out); }
  static std::optional<int32_t> Tempo(const Xls::XlsCell& cell) { return XlsCellTempo(cell); }
};

}  // namespace

// The book hands out its sheets for writing, so the table asks the growing Cell, as the build
// always has: a column past a sheet's width reads as an empty cell.
std::unique_ptr<Table> MakeXlsTable(char) { return std::make_unique<WorkbookTable<Xls::XlsBook, XlsCellReading>>(); }
