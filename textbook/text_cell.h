// TextCell: the one cell through which a text worksheet is read. Each TextSheet::Cell call
// sets it to a field (UTF-8 text) of the asked row, so its texts (and GetString's pointer) are
// valid only until the next Cell call on the same sheet. A row is split once, and only as far
// as the columns asked: the build reads a name, then the rest of the few rows it matches.
// A field is a view of the sheet's own text; only a quoted field whose text is not one piece
// of it (a "" inside, text after the closing quote) is copied. Owned by its TextSheet.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class TextCell {
 public:
  // The shared cell type codes; a text table only ever reports these three.
  static constexpr int32_t CellUndefined = 0;
  static constexpr int32_t CellInteger = 1;
  static constexpr int32_t CellString = 3;
  static constexpr uint32_t kFieldCount = 5;

  // 0 for an empty field, 1 when every byte is an ASCII digit, 3 otherwise.
  int32_t Type() const;
  // The field's bytes, NUL-terminated; never null.
  const char* GetString() const;
  // The field's bytes without a copy (a field may hold a NUL: this view holds all of them).
  std::string_view Text() const { return Field(); }
  // Reads the field as a decimal integer: leading white space, an optional sign, then digits up
  // to the first non-digit. False (out untouched) when no digit follows or the value does not
  // fit in 32 bits.
  bool GetInteger(int32_t& out) const;
  // The same conversion, 0 when it fails.
  int32_t GetInteger() const;

 private:
  friend class TextSheet;
  // Takes `record` (row `row`, which must outlive its use here) to split at its unquoted
  // delimiters; no field is split yet.
  void Start(uint32_t row, std::string_view record, char delimiter);
  uint32_t row() const { return row_; }
  // Selects column `col`, splitting the record's fields up to it first.
  void Select(uint32_t col);
  std::string_view Field() const { return column_ < split_ ? fields_[column_] : std::string_view(); }

  uint32_t row_ = 0;
  uint32_t column_ = 0;
  std::string_view record_;
  char delimiter_ = ',';
  uint32_t split_ = 0;  // fields made so far, in fields_[0 .. split_)
  size_t next_ = 0;     // where field split_ starts in record_; past its end once none is left
  std::array<std::string_view, kFieldCount> fields_;  // into record_, or into joined_
  std::array<std::string, kFieldCount> joined_;       // the pieces of a field that is not one
  mutable std::string terminated_;                    // GetString's copy
};
