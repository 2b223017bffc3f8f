// One typed cell of a loaded worksheet: a number, 8-bit or 16-bit text, or a formula with
// its cached result, plus its format index and merged-range size. A cell owns its text (one
// terminated heap copy, 8-bit or 16-bit, so a cell is small); copies of a formula cell share
// one Formula object through its reference count. A cell holds one value: giving it another
// lets its text or formula go.
#pragma once

#include <array>
#include <bit>
#include <cstdlib>
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

    // The kind of the cached result: a number unless bytes 6 and 7 are both 0xFF, else
    // byte 0 says which (any value past 2 reads as an empty result).
    enum class Result { Number, Text, Boolean, Error, Empty };
    Result ResultKind() const {
      if (HasNumber()) return Result::Number;
      switch (resultBytes[0]) {
        case 0: return Result::Text;
        case 1: return Result::Boolean;
        case 2: return Result::Error;
        default: return Result::Empty;
      }
    }
    bool HasNumber() const { return !(resultBytes[6] == 0xFF && resultBytes[7] == 0xFF); }
    double Number() const;
    // The value of a Boolean result: byte 2.
    bool BooleanResult() const { return resultBytes[2] != 0; }
  };

  XlsCell() = default;
  XlsCell(const XlsCell& other);
  XlsCell(XlsCell&& other) noexcept;
  XlsCell& operator=(const XlsCell& other);
  XlsCell& operator=(XlsCell&& other) noexcept;
  ~XlsCell() { Drop(); }

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
  // The formula of a formula cell; null for every other type.
  const Formula* GetFormula() const { return held == kFormula ? value.formula : nullptr; }

  // The setters the load calls for every cell are inline.
  void SetInteger(int32_t v) {
    Drop();
    cellType = CellInteger;
    value.intValue = v;
  }
  void SetDouble(double v) {
    Drop();
    cellType = CellDouble;
    value.doubleValue = v;
  }
  void SetRKValue(uint32_t rk) {
    const bool div100 = rk & 1;
    if (rk & 2) {
      const int32_t n = static_cast<int32_t>(rk) >> 2;  // arithmetic shift keeps the sign
      if (!div100)
        SetInteger(n);
      else if (n % 100 == 0)
        SetInteger(n / 100);
      else
        SetDouble(n / 100.0);
      return;
    }
    double d = std::bit_cast<double>(static_cast<uint64_t>(rk & 0xFFFFFFFCu) << 32);
    if (div100) d /= 100.0;
    SetDouble(d);
  }
  void SetString(const char* text);
  void SetWString(const char16_t* text);
  void SetFormula(const Xls::Formula& record);
  // As SetString/SetWString, but the cell points at `text` instead of copying it: for the
  // grid's cells, whose texts live in their book's shared-string table as long as the book.
  // A copy of the cell owns a copy of the text; a move passes the pointer on.
  void BorrowString(const char* from) { Borrow(from, from && *from, kNarrowText, CellString); }
  void BorrowWString(const char16_t* from) { Borrow(from, from && *from, kWideText, CellWString); }
  void SetXFormatIdx(int32_t idx) { xfIndex = idx; }
  void SetMergedRows(uint16_t n) { mergedRows = n; }
  void SetMergedColumns(uint16_t n) { mergedColumns = n; }
  void EraseContents() {
    cellType = CellUndefined;
    Drop();
  }
  void Set(int32_t v) { SetInteger(v); }
  void Set(double v) { SetDouble(v); }
  void Set(const char* text) { SetString(text); }
  void Set(const char16_t* text) { SetWString(text); }

 private:
  // What `value` holds that the cell must let go of.
  enum Held : uint8_t { kNothing, kNarrowText, kWideText, kFormula };
  void SetText(const void* from, size_t bytes, bool wide);
  void Borrow(const void* from, bool nonEmpty, Held kind, CellType type) {
    if (!nonEmpty) {
      EraseContents();
      return;
    }
    Drop();
    value.text = const_cast<void*>(from);
    held = kind;
    textBorrowed = true;
    cellType = static_cast<int8_t>(type);
  }
  void Drop() {
    if (held == kFormula)
      ReleaseFormula(value.formula);
    else if (held != kNothing && !textBorrowed)
      std::free(value.text);
    held = kNothing;
    textBorrowed = false;
  }
  // Out of line, as in SmartPtr: GCC's use-after-free analysis cannot follow the count.
  [[gnu::noinline]] static void ReleaseFormula(Formula* f);
  const char* NarrowText() const {
    return held == kNarrowText ? static_cast<const char*>(value.text) : nullptr;
  }
  const char16_t* WideText() const {
    return held == kWideText ? static_cast<const char16_t*>(value.text) : nullptr;
  }

  // 24 bytes: the grid holds one per stored cell. The value is that of the type: a number,
  // the terminated text (malloc'd, or borrowed and not ours to free; 16-bit units when `held`
  // says so), or the formula, one reference of its count.
  int8_t cellType = CellUndefined;
  Held held = kNothing;
  bool textBorrowed = false;
  // The sheet's note of the cell's column where it stores the cell, in a byte the layout
  // leaves free; not part of the value, so copies and moves do not carry it.
  uint8_t gridColumn = 0;
  friend class XlsSheet;
  uint16_t mergedRows = 1;
  uint16_t mergedColumns = 1;
  int32_t xfIndex = 0;
  union Value {
    int32_t intValue;
    double doubleValue;
    void* text;
    Formula* formula;
  } value{.doubleValue = 0.0};
};

static_assert(sizeof(XlsCell) == 24, "the grid's memory is counted in these");

}  // namespace Xls
