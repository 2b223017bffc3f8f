// Our side of the FreeXL peer (bench/peers/freexl_visit.c) as a whole process: loads a
// workbook and reads every cell of every worksheet, printing the same summary line so
// bench/run can check that both readers saw the same cells. Text bytes count UTF-8.
#include <cstdio>
#include <cstring>

#include "text/utf8.h"
#include "xls/xls_book.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: xls_visit FILE.xls\n");
    return 2;
  }
  Xls::XlsBook book;
  if (!book.Load(argv[1])) {
    std::fprintf(stderr, "xls_visit: cannot open %s\n", argv[1]);
    return 1;
  }
  unsigned long cells = 0, textBytes = 0;
  double sum = 0;
  for (int32_t s = 0; s < book.GetTotalWorkSheets(); ++s) {
    book.GetWorksheet(s)->ForEachStoredCell([&](int32_t, int32_t, const Xls::XlsCell& cell) {
      switch (cell.Type()) {
        case Xls::CellInteger: sum += cell.GetInteger(); ++cells; break;
        case Xls::CellDouble: sum += cell.GetDouble(); ++cells; break;
        case Xls::CellString: textBytes += Latin1ToUtf8(cell.GetString()).size(); ++cells; break;
        case Xls::CellWString: textBytes += Utf16ToUtf8(cell.GetWString()).size(); ++cells; break;
        default: break;
      }
    });
  }
  std::printf("sheets=%d cells=%lu text_bytes=%lu sum=%.6g\n", book.GetTotalWorkSheets(), cells, textBytes, sum);
  return 0;
}
