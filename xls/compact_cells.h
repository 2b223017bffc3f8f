// A worksheet's cell records as one flat list of 16-byte entries in file order, which the
// grid is built from: a book loads its sheets this way instead of as record objects. The
// list owns the MULRK/MULBLANK entries and the few records kept whole (LABEL, RSTRING,
// FORMULA); everything is decoded by the record classes themselves.
#pragma once

#include <cstdint>
#include <vector>

#include "xls/big_allocator.h"
#include "xls/cell_records.h"
#include "xls/growing_array.h"
#include "xls/ref_count.h"
#include "xls/row_block.h"

namespace Xls {

struct CompactCell {
  uint16_t code = 0;  // the record code
  uint16_t row = 0;
  uint16_t col = 0;   // the first column for MULRK and MULBLANK
  uint16_t xf = 0;    // for MULRK and MULBLANK: the record's last column
  union {
    double number;                                // NUMBER
    uint32_t value;                               // LABELSST's index, RK's value, index into whole
    struct { uint8_t value, error; } boolErr;     // BOOLERR
    struct { uint32_t first, count; } run;        // MULRK / MULBLANK entries
  };
  CompactCell() : number(0.0) {}
};

class CompactCells {
 public:
  // Reads the cell record at the start of `bytes` and appends it; returns its framed size.
  uint32_t Read(ByteSpan bytes);
  void Clear();

  GrowingArray<CompactCell> cells;
  GrowingArray<MulRK::XFRK> rkEntries;
  std::vector<uint16_t> blankEntries;
  std::vector<RefCount::SmartPtr<CellBlock>> whole;
  // The highest row and column of a cell that holds a value (blanks and entries past column
  // 255 do not count), kept as entries are added: the grid's size without another walk.
  int32_t highRow = 0;
  int32_t highColumn = 0;

 private:
  // The common single-value records, appended straight from their bytes; false (nothing
  // appended) for any other kind, or a record cut short or continued, which its decoder reads.
  bool ReadInPlace(ByteSpan bytes, uint32_t& used);
  void AddRecord(uint16_t code, const CellRecord& record);
  void AddWhole(uint16_t code, const RefCount::SmartPtr<CellBlock>& block);
  void Track(const CompactCell& c);
  // Decoders reused for every record, so reading allocates nothing per cell.
  LabelSST labelSst;
  Blank blank;
  Number number;
  BoolErr boolErr;
  RK rk;
  MulRK mulRk;
  MulBlank mulBlank;
};

}  // namespace Xls
