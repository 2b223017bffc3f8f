/* Peer for the benchmarks: opens a workbook with FreeXL and reads every cell of every
   worksheet, summing what it sees so the work cannot be skipped. */
#include <freexl.h>
#include <stdio.h>
#include <string.h>

int main(int argc, char **argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: freexl_visit FILE.xls\n");
    return 2;
  }
  const void *handle = NULL;
  if (freexl_open(argv[1], &handle) != FREEXL_OK) {
    fprintf(stderr, "freexl_visit: cannot open %s\n", argv[1]);
    freexl_close(handle);
    return 1;
  }
  unsigned int sheets = 0;
  freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &sheets);
  unsigned long cells = 0, text_bytes = 0;
  double sum = 0;
  for (unsigned short s = 0; s < sheets; ++s) {
    unsigned int rows = 0;
    unsigned short cols = 0;
    if (freexl_select_active_worksheet(handle, s) != FREEXL_OK) continue;
    if (freexl_worksheet_dimensions(handle, &rows, &cols) != FREEXL_OK) continue;
    for (unsigned int r = 0; r < rows; ++r)
      for (unsigned short c = 0; c < cols; ++c) {
        FreeXL_CellValue v;
        if (freexl_get_cell_value(handle, r, c, &v) != FREEXL_OK) continue;
        switch (v.type) {
          case FREEXL_CELL_INT: sum += v.value.int_value; ++cells; break;
          case FREEXL_CELL_DOUBLE: sum += v.value.double_value; ++cells; break;
          case FREEXL_CELL_TEXT:
          case FREEXL_CELL_SST_TEXT:
          case FREEXL_CELL_DATE:
          case FREEXL_CELL_DATETIME:
          case FREEXL_CELL_TIME: text_bytes += strlen(v.value.text_value); ++cells; break;
          default: break;
        }
      }
  }
  printf("sheets=%u cells=%lu text_bytes=%lu sum=%.6g\n", sheets, cells, text_bytes, sum);
  freexl_close(handle);
  return 0;
}
