// One typed cell of a modern workbook's sheet: a number, a Boolean (as an integer), UTF-8
// text, or a formula with its cached result. 16 bytes; the text is not owned: it lives in
// the text pool of the book or sheet that made the cell, as long as that book is loaded.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace Grid {

enum CellType : int32_t {
  CellUndefined = 0,
  CellInteger = 1,
  CellDouble = 2,
  CellString = 3,
  CellWString = 4,  // never made here: every text is UTF-8
  CellFormula = 5,
};

// What a cell's payload holds; for a formula, its cached result.
enum class Payload : uint8_t { kNone, kNumber, kBoolean, kText, kSharedText };

class GridCell {
 public:
  GridCell() = default;

  static GridCell Number(double v) { return Make(CellDouble, Payload::kNumber, v); }
  static GridCell Boolean(bool v) { return MakeInteger(CellInteger, v); }
  static GridCell Text(const char* text) { return MakeText(CellString, Payload::kText, text); }
  // Text held as an index into the book's shared strings until the load resolves it.
  static GridCell SharedText(uint32_t index) { return MakeShared(CellString, index); }
  static GridCell FormulaNone() { return Make(CellFormula, Payload::kNone, 0.0); }
  static GridCell FormulaNumber(double v) { return Make(CellFormula, Payload::kNumber, v); }
  static GridCell FormulaBoolean(bool v) { return MakeInteger(CellFormula, v); }
  static GridCell FormulaText(const char* text) { return MakeText(CellFormula, Payload::kText, text); }
  static GridCell FormulaSharedText(uint32_t index) { return MakeShared(CellFormula, index); }

  int32_t Type() const { return type_; }
  Payload Holds() const { return payload_; }

  // The text of a text cell or a formula's text result; "" for a formula with another
  // result; null for every other cell.
  const char* GetString() const {
    if (payload_ == Payload::kText) return value_.text;
    return type_ == CellFormula ? "" : nullptr;
  }
  // Numbers (a formula's number result too) truncated toward zero and clamped to 32 bits
  // (NaN gives 0); Booleans 0 or 1; false for text and empty cells.
  bool Get(int32_t& out) const {
    if (payload_ == Payload::kBoolean) {
      out = static_cast<int32_t>(value_.integer);
      return true;
    }
    if (payload_ != Payload::kNumber) return false;
    out = Truncated(value_.number);
    return true;
  }
  bool Get(double& out) const {
    if (payload_ == Payload::kBoolean) {
      out = static_cast<double>(value_.integer);
      return true;
    }
    if (payload_ != Payload::kNumber) return false;
    out = value_.number;
    return true;
  }
  int32_t GetInteger() const {
    int32_t v = 0;
    return Get(v) ? v : 0;
  }
  double GetDouble() const {
    double v = 0.0;
    return Get(v) ? v : 0.0;
  }

  uint32_t SharedIndex() const { return value_.shared; }
  void ResolveShared(const char* text) {
    payload_ = Payload::kText;
    value_.text = text;
  }
  uint16_t Column() const { return column_; }
  void SetColumn(uint16_t column) { column_ = column; }

  static int32_t Truncated(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
  }

 private:
  static GridCell Make(CellType type, Payload payload, double v) {
    GridCell c;
    c.type_ = static_cast<int8_t>(type);
    c.payload_ = payload;
    c.value_.number = v;
    return c;
  }
  static GridCell MakeInteger(CellType type, bool v) {
    GridCell c;
    c.type_ = static_cast<int8_t>(type);
    c.payload_ = Payload::kBoolean;
    c.value_.integer = v ? 1 : 0;
    return c;
  }
  static GridCell MakeText(CellType type, Payload payload, const char* text) {
    GridCell c;
    c.type_ = static_cast<int8_t>(type);
    c.payload_ = payload;
    c.value_.text = text;
    return c;
  }
  static GridCell MakeShared(CellType type, uint32_t index) {
    GridCell c;
    c.type_ = static_cast<int8_t>(type);
    c.payload_ = Payload::kSharedText;
    c.value_.shared = index;
    return c;
  }

  union Value {
    double number;
    int64_t integer;
    const char* text;
    uint32_t shared;
  } value_{.number = 0.0};
  uint16_t column_ = 0;
  int8_t type_ = CellUndefined;
  Payload payload_ = Payload::kNone;
};

static_assert(sizeof(GridCell) == 16);

}  // namespace Grid
