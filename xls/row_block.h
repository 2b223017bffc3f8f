// The worksheet's cell table as the file groups it: row blocks of ROW records and cell
// records, each closed by a DBCELL. A RowBlock owns its rows, its DBCELL and (shared through
// SmartPtr) its cell blocks; each CellBlock owns exactly one cell record of its type.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "xls/cell_records.h"
#include "xls/formula_record.h"
#include "xls/record.h"
#include "xls/ref_count.h"

namespace Xls {

class CompactCells;

// True for the codes read as cells: the eight cell records, LABEL and RSTRING. Inline: it
// is asked of every record of every sheet.
inline bool IsCellCode(uint16_t code) {
  switch (code) {
    case RecordCode::kFormula:
    case RecordCode::kMulRK:
    case RecordCode::kMulBlank:
    case RecordCode::kLabelSST:
    case RecordCode::kBlank:
    case RecordCode::kNumber:
    case RecordCode::kBoolErr:
    case RecordCode::kRK:
    case RecordCode::kLabel:
    case RecordCode::kRString:
      return true;
    default:
      return false;
  }
}

class CellBlock : public RefCount::RefCnt {
 public:
  // Sets the type from the code at offset 0 and reads the record; 0 for a non-cell code.
  uint32_t Read(ByteSpan bytes);
  void SetType(int16_t newType);
  void Reset();
  uint16_t RowIndex() const;
  uint16_t ColIndex() const;

  int16_t type = -1;
  std::unique_ptr<CellRecord> record;
};

class Row : public Record {
 public:
  Row() : Record(RecordCode::kRow, 16) {}
  uint32_t Read(ByteSpan bytes) override;
  uint16_t rowIndex = 0, firstCellColumn = 0, lastCellColumnPlusOne = 0, height = 0, reserved = 0,
           reserved2 = 0;
  uint32_t options = 0;
};

class DBCell : public Record {
 public:
  DBCell() : Record(RecordCode::kDBCell, 4) {}
  uint32_t Read(ByteSpan bytes) override;
  uint32_t firstRowOffset = 0;
  std::vector<uint16_t> cellOffsets;
};

// Thrown by the row-block reader when the worksheet ends before a DBCELL (at its EOF, at the
// next sheet's BOF, or at the end of the stream); caught by the worksheet reader, never
// outside it.
struct EofInRowBlock {
  uint32_t bytesRead = 0;  // up to and including the EOF record; not the next sheet's BOF
};

class RowBlock {
 public:
  using CellBlock = Xls::CellBlock;
  using Row = Xls::Row;
  using DBCell = Xls::DBCell;

  // Reads ROW and cell records up to and including the DBCELL; throws EofInRowBlock.
  uint32_t Read(ByteSpan bytes);
  // Reads one cell record met outside any row block into this block.
  uint32_t ReadLooseCell(ByteSpan bytes);

  std::vector<Row> rows;
  std::vector<RefCount::SmartPtr<CellBlock>> cellBlocks;
  DBCell dbCell;
  // When set, cell records go to this list instead of cellBlocks and ROW records are
  // only framed, not kept.
  CompactCells* sink = nullptr;
};

class CellTable {
 public:
  using RowBlock = Xls::RowBlock;

  // Reads consecutive row blocks starting at a ROW record; returns the bytes consumed.
  // An EofInRowBlock from a block passes through with bytesRead counted from `bytes`.
  uint32_t Read(ByteSpan bytes);

  std::vector<RowBlock> rowBlocks;
  CompactCells* sink = nullptr;  // handed to every block read
};

}  // namespace Xls
