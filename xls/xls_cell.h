// One typed cell of a loaded worksheet: a number, 8-bit or 16-bit text, or a formula with
// its cached result, plus its format index and merged-range size. A cell owns its text (one
// terminated heap copy, 8-bit or 16-bit, so a cell is small); copies of a formula cell share
// one Formula object through its reference count.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "xls/ref_count.h"

namespace Xls {

class Formula;

enum CellType : int32_t {
  CellUndefined = 0,
  CellInteger = 1,
  CellDouble = 2,
  CellString = 3,
  CellWString = 4,
  CellFormula = 5,
};

class XlsCell {
 public:
  class Formula : public RefCount::RefCnt {
   public:
    uint32_t followingRecordType = 0xFFFF;
    std::vector<uint8_t> tokens;
    std::array<uint8_t, 8> resultBytes{};
    std::u16string wideResult;
    std::string narrowResult;
    uint16_t sharedFirstRow = 0, sharedLastRow = 0;
    uint8_t sharedFirstColumn = 0, sharedLastColumn = 0;
    uint16_t sharedReserved = 0;
    std::vector<uint8_t> sharedTokens;

    // The cached result is a number unless bytes 6 and 7 are both 0xFF.
    bool HasNumber() const { return !(resultBytes[6] == 0xFF && resultBytes[7] == 0xFF); }
    double Number() const;
  };

  XlsCell() = default;
  XlsCell(const XlsCell& other);
  XlsCell(XlsCell&& other) noexcept;
  XlsCell& operator=(const XlsCell& other);
  XlsCell& operator=(XlsCell&& other) noexcept;
  ~XlsCell();

  int32_t Type() const { return cellType; }

  bool Get(int32_t& out) const;
  bool Get(double& out) const;
  // Copies the text and its terminator when it fits in `capacity` bytes/units.
  bool Get(char* buffer, size_t capacity) const;
  bool Get(char16_t* buffer, size_t capacity) const;
  int32_t GetInteger() const;
  double GetDouble() const;
  const char* GetString() const;
  const char16_t* GetWString() const;
  size_t GetStringLength() const;
  int32_t GetXFormatIdx() const { return xfIndex; }
  uint16_t GetMergedRows() const { return mergedRows; }
  uint16_t GetMergedColumns() const { return mergedColumns; }
  const Formula* GetFormula() const { return formulaData.get(); }

  void SetInteger(int32_t v);
  void SetDouble(double v);
  void SetRKValue(uint32_t rk);
  void SetString(const char* text);
  void SetWString(const char16_t* text);
  void SetFormula(const Xls::Formula& record);
  // As SetString/SetWString, but the cell points at `text` instead of copying it: for the
  // grid's cells, whose texts live in their book's shared-string table as long as the book.
  // A copy of the cell owns a copy of the text; a move passes the pointer on.
  void BorrowString(const char* text);
  void BorrowWString(const char16_t* text);
  void SetXFormatIdx(int32_t idx) { xfIndex = idx; }
  void SetMergedRows(uint16_t n) { mergedRows = n; }
  void SetMergedColumns(uint16_t n) { mergedColumns = n; }
  void EraseContents();
  void Set(int32_t v) { SetInteger(v); }
  void Set(double v) { SetDouble(v); }
  void Set(const char* text) { SetString(text); }
  void Set(const char16_t* text) { SetWString(text); }

 private:
  void SetText(const void* from, size_t bytes, bool wide);
  void FreeText();
  const char* NarrowText() const { return textIsWide ? nullptr : static_cast<const char*>(text); }
  const char16_t* WideText() const { return textIsWide ? static_cast<const char16_t*>(text) : nullptr; }

  // Ordered and sized so a cell takes 40 bytes: the grid holds one per stored cell.
  int8_t cellType = CellUndefined;
  bool textIsWide = false;
  uint16_t mergedRows = 1;
  uint16_t mergedColumns = 1;
  bool textBorrowed = false;  // `text` is not ours to free
  int32_t xfIndex = 0;
  int32_t intValue = 0;
  double doubleValue = 0.0;
  void* text = nullptr;  // malloc'd (or borrowed), terminated; 16-bit units when textIsWide
  RefCount::SmartPtr<Formula> formulaData;
};

}  // namespace Xls
