// The record-level reader of one worksheet substream (BOF type 0x0010 to its EOF): the
// INDEX, COLINFO, DIMENSIONS, WINDOW2 and MERGEDCELLS records and the cell table. A
// Worksheet owns everything it read; XlsBook keeps one per worksheet substream.
#pragma once

#include <cstdint>
#include <vector>

#include "xls/compact_cells.h"
#include "xls/record.h"
#include "xls/row_block.h"

namespace Xls {

class Worksheet {
 public:
  using CellTable = Xls::CellTable;

  class Index : public Record {
   public:
    Index() : Record(RecordCode::kIndex, 16) {}
    uint32_t Read(ByteSpan bytes) override;
    uint32_t reserved = 0, firstUsedRow = 0, firstRowAfterLast = 0, reserved2 = 0;
    std::vector<uint32_t> dbCellPositions;  // only the entries the record holds
  };

  class ColInfo : public Record {
   public:
    ColInfo() : Record(RecordCode::kColInfo, 12) {}
    uint32_t Read(ByteSpan bytes) override;
    uint16_t firstColumn = 0, lastColumn = 0, columnWidth = 0, xfIndex = 0, options = 0,
             reserved = 0;
  };

  class ColInfos : public Record {
   public:
    ColInfos() : Record(RecordCode::kColInfo) {}
    uint32_t Read(ByteSpan bytes) override;  // one COLINFO, appended
    std::vector<ColInfo> colInfoList;
  };

  class Dimensions : public Record {
   public:
    Dimensions() : Record(RecordCode::kDimensions, 14) {}
    uint32_t Read(ByteSpan bytes) override;
    uint32_t firstUsedRow = 0, lastUsedRowPlusOne = 0;
    uint16_t firstUsedColumn = 0, lastUsedColumnPlusOne = 0, reserved = 0;
  };

  class Window2 : public Record {
   public:
    Window2() : Record(RecordCode::kWindow2, 18) {}
    uint32_t Read(ByteSpan bytes) override;
    uint16_t options = 0, firstVisibleRow = 0, firstVisibleColumn = 0, gridLineColourIndex = 0,
             reserved = 0, pageBreakPreviewMagnification = 0, normalViewMagnification = 0;
    uint32_t reserved2 = 0;
  };

  class MergedCell {
   public:
    uint32_t Read(ByteSpan bytes);  // 8 bytes
    uint16_t firstRow = 0, lastRow = 0, firstColumn = 0, lastColumn = 0;
  };

  class MergedCells : public std::vector<MergedCell> {
   public:
    // This MERGEDCELLS record and those directly after it; ranges only as far as each
    // record's data reaches.
    uint32_t Read(ByteSpan bytes);
  };

  // From the sheet's BOF to its EOF (embedded charts skipped whole), the next sheet's BOF
  // when the EOF is missing, or the end of the stream.
  uint32_t Read(ByteSpan bytes);

  // Set before Read by a reader that only wants the grid: cell records then go to `cells`
  // (cellTable keeps its blocks, without rows or cells), which costs a fraction of the memory.
  bool compactCells = false;
  CompactCells cells;
  // Set before Read when known: the bytes up to the next sheet, which bound the lists'
  // lengths; 0 for all the bytes Read is given.
  size_t expectedBytes = 0;

  // WSBOOL's dialog flag: a dialog sheet shares the worksheet's substream type but holds
  // controls, not cells a table is made of.
  static constexpr uint16_t kDialogBit = 0x0010;
  bool dialogSheet = false;

  BOF bof;
  Index index;
  ColInfos colInfos;
  Dimensions dimensions;
  CellTable cellTable;
  Window2 window2;
  MergedCells mergedCells;
  Eof eof;

 private:
  uint32_t ReadRecords(ByteSpan bytes);
};

}  // namespace Xls
