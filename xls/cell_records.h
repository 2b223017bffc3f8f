// One record class per worksheet cell record: LABELSST, BLANK, NUMBER, BOOLERR, RK, MULRK,
// MULBLANK, and LABEL/RSTRING (text stored in the cell record itself). Each decodes its
// fields from its own framed data; fields missing from a short record read as zero, and
// list entries are made only for the bytes present.
#pragma once

#include <cstdint>
#include <vector>

#include "xls/record.h"
#include "xls/strings.h"

namespace Xls {

// Common to every cell record: where the cell is, and its format.
class CellRecord : public Record {
 public:
  explicit CellRecord(uint16_t code) : Record(code) {}
  uint32_t Read(ByteSpan bytes) override;  // frames, then reads the common fields
  uint16_t rowIndex = 0;
  uint16_t colIndex = 0;  // the first column for MULRK and MULBLANK
  uint16_t xfIndex = 0;

 protected:
  // Frames without keeping the data (see Record::Frame) and reads the common fields.
  uint32_t ReadFields(ByteSpan bytes, ByteSpan& d);
};

class LabelSST : public CellRecord {
 public:
  LabelSST() : CellRecord(RecordCode::kLabelSST) {}
  uint32_t Read(ByteSpan bytes) override;
  uint32_t sstIndex = 0;
};

class Blank : public CellRecord {
 public:
  Blank() : CellRecord(RecordCode::kBlank) {}  // position and format only
};

class Number : public CellRecord {
 public:
  Number() : CellRecord(RecordCode::kNumber) {}
  uint32_t Read(ByteSpan bytes) override;
  double value = 0.0;
};

class BoolErr : public CellRecord {
 public:
  BoolErr() : CellRecord(RecordCode::kBoolErr) {}
  uint32_t Read(ByteSpan bytes) override;
  uint8_t value = 0;
  uint8_t error = 0;
};

class RK : public CellRecord {
 public:
  RK() : CellRecord(RecordCode::kRK) {}
  uint32_t Read(ByteSpan bytes) override;
  uint32_t rkValue = 0;
};

// LABEL (0x0204) and RSTRING (0x00D6): the text follows the common fields as a 16-bit count,
// a flags byte and the characters; RSTRING's formatting runs after it are not kept.
class Label : public CellRecord {
 public:
  explicit Label(uint16_t code = RecordCode::kLabel) : CellRecord(code) {}
  uint32_t Read(ByteSpan bytes) override;
  LargeString text;
};

class MulRK : public CellRecord {
 public:
  struct XFRK {
    uint16_t xfIndex = 0;
    int32_t rkValue = 0;
  };
  MulRK() : CellRecord(RecordCode::kMulRK) {}
  uint32_t Read(ByteSpan bytes) override;
  // The layout of a MULRK's data `d`, for those who read it without a record object: its
  // last column (in the last two bytes), how many entries it holds, and entry i.
  static uint16_t LastColumn(const ByteSpan& d) { return d.size() >= 2 ? d.U16(d.size() - 2) : 0; }
  static size_t EntryCount(const ByteSpan& d);
  static XFRK EntryAt(const ByteSpan& d, size_t i) {
    return {d.U16(4 + 6 * i), static_cast<int32_t>(d.U32(6 + 6 * i))};
  }
  uint16_t firstColumn = 0;
  uint16_t lastColumn = 0;
  std::vector<XFRK> entries;  // entry i is column firstColumn + i
};

class MulBlank : public CellRecord {
 public:
  MulBlank() : CellRecord(RecordCode::kMulBlank) {}
  uint32_t Read(ByteSpan bytes) override;
  uint16_t firstColumn = 0;
  uint16_t lastColumn = 0;
  std::vector<uint16_t> xfIndices;
};

}  // namespace Xls
