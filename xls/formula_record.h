// The FORMULA cell record and the records read with it: an ARRAY, SHRFMLA or TABLE record
// directly after it, then a STRING record holding a text result. The Formula owns them all.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "xls/cell_records.h"

namespace Xls {

class Formula : public CellRecord {
 public:
  class Array : public Record {
   public:
    Array() : Record(RecordCode::kArray) {}
    uint32_t Read(ByteSpan bytes) override;
    uint16_t firstRow = 0, lastRow = 0;
    uint8_t firstColumn = 0, lastColumn = 0;
    uint16_t options = 0;
    uint32_t reserved = 0;
    std::vector<uint8_t> tokens;
  };

  class ShrFmla : public Record {
   public:
    explicit ShrFmla(uint16_t c = RecordCode::kShrFmla) : Record(c) {}
    uint32_t Read(ByteSpan bytes) override;
    uint16_t firstRow = 0, lastRow = 0;
    uint8_t firstColumn = 0, lastColumn = 0;
    uint16_t reserved = 0;
    std::vector<uint8_t> tokens;
  };

  class ShrFmla1 : public ShrFmla {
   public:
    ShrFmla1() : ShrFmla(RecordCode::kShrFmla1) {}
  };

  class Table : public Record {
   public:
    Table() : Record(RecordCode::kTable) {}
    uint32_t Read(ByteSpan bytes) override;
    uint16_t firstRow = 0, lastRow = 0;
    uint8_t firstColumn = 0, lastColumn = 0;
    uint16_t options = 0, inputRow1 = 0, inputColumn1 = 0, inputRow2 = 0, inputColumn2 = 0;
  };

  class String : public Record {
   public:
    String() : Record(RecordCode::kString) {}
    uint32_t Read(ByteSpan bytes) override;
    bool Empty() const { return !hasText; }
    std::u16string wideText;  // 8-bit characters widened
    bool hasText = false;     // a STRING record was read
  };

  Formula() : CellRecord(RecordCode::kFormula) {}
  // Reads the FORMULA record and the records that belong to it; returns their framed sizes.
  uint32_t Read(ByteSpan bytes) override;

  std::array<uint8_t, 8> resultBytes{};
  uint16_t options = 0;
  uint32_t reserved = 0;
  std::vector<uint8_t> tokens;
  uint32_t followingRecordType = 0xFFFF;
  Array arrayRecord;
  ShrFmla sharedFormulaRecord;
  ShrFmla1 sharedFormula1Record;
  Table tableRecord;
  String stringRecord;
};

}  // namespace Xls
