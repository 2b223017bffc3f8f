// TextCell: the one cell through which a text worksheet is read. Each TextSheet::Cell call
// refills it with the five fields (UTF-8 texts) of the asked row, so its texts (and GetString's pointer) are
// valid only until the next Cell call on the same sheet. Owned by its TextSheet.
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
  // Reads the field as a decimal integer: leading white space, an optional sign, then digits up
  // to the first non-digit. False (out untouched) when no digit follows or the value does not
  // fit in 32 bits.
  bool GetInteger(int32_t& out) const;
  // The same conversion, 0 when it fails.
  int32_t GetInteger() const;

 private:
  friend class TextSheet;
  // Splits `record` at its unquoted delimiters into the five fields and selects column `col`.
  void Fill(uint32_t row, uint32_t col, std::string_view record, char delimiter);
  const std::string& Field() const;

  uint32_t row_ = 0;
  uint32_t column_ = 0;
  std::array<std::string, kFieldCount> fields_;
};
