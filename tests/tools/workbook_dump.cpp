// Prints what the .xlsx or .ods reader sees in a file, for the differential tests: a line
// per sheet ("S", index, rows, columns, name) and per stored cell ("C", row, column, kind,
// value), tab-separated, with tabs, line feeds and backslashes in texts escaped. Kind is
// n (number), b (Boolean), s (text), f (formula, no result), fn / fb / fs (formula results).
// Exit status 2 when the file does not load.
#include <cstdio>
#include <cstring>
#include <string>

#include "grid/grid_sheet.h"
#include "ods/ods_book.h"
#include "xlsx/xlsx_book.h"

namespace {

void PrintText(const char* text) {
  for (const char* p = text; *p; ++p) {
    if (*p == '\\') std::fputs("\\\\", stdout);
    else if (*p == '\t') std::fputs("\\t", stdout);
    else if (*p == '\n') std::fputs("\\n", stdout);
    else if (*p == '\r') std::fputs("\\r", stdout);
    else std::fputc(*p, stdout);
  }
}

void PrintSheet(int index, const Grid::GridSheet& sheet) {
  std::printf("S\t%d\t%d\t%d\t", index, sheet.GetTotalRows(), sheet.GetTotalCols());
  PrintText(sheet.Name().c_str());
  std::fputc('\n', stdout);
  sheet.ForEachStoredCell([](int32_t row, int32_t col, const Grid::GridCell& cell) {
    const bool formula = cell.Type() == Grid::CellFormula;
    std::printf("C\t%d\t%d\t", row, col);
    switch (cell.Holds()) {
      case Grid::Payload::kNumber:
        std::printf("%s\t%.17g\n", formula ? "fn" : "n", cell.GetDouble());
        break;
      case Grid::Payload::kBoolean:
        std::printf("%s\t%d\n", formula ? "fb" : "b", cell.GetInteger());
        break;
      case Grid::Payload::kText:
        std::printf("%s\t", formula ? "fs" : "s");
        PrintText(cell.GetString());
        std::fputc('\n', stdout);
        break;
      default:
        std::printf("f\t\n");
    }
  });
}

template <typename Book>
int Dump(const char* path) {
  Book book;
  if (!book.Load(path)) return 2;
  for (int32_t i = 0; i < book.GetTotalWorkSheets(); ++i) PrintSheet(i, *book.GetWorksheet(i));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: workbook_dump FILE.xlsx|FILE.xlsm|FILE.ods\n");
    return 1;
  }
  const std::string path = argv[1];
  const bool ods = path.size() >= 4 && path.compare(path.size() - 4, 4, ".ods") == 0;
  return ods ? Dump<Ods::OdsBook>(argv[1]) : Dump<Xlsx::XlsxBook>(argv[1]);
}
