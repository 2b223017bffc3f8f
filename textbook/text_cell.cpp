#include "textbook/text_cell.h"

#include <limits>

namespace {

const std::string kEmpty;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The bytes that the C library's isspace accepts in the "C" locale.
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

void TextCell::Fill(uint32_t row, uint32_t col, std::string_view line) {
  row_ = row;
  column_ = col;
  uint32_t k = 0;
  bool quoted = false;
  fields_[0].clear();
  for (char c : line) {
    if (c == ',' && !quoted) {
      // Only five columns exist; anything after the fifth field is never read.
      if (++k == kFieldCount) break;
      fields_[k].clear();
    } else if (c == '"') {
      quoted = !quoted;
    } else {
      fields_[k].push_back(c);
    }
  }
  for (uint32_t i = k + 1; i < kFieldCount; ++i) fields_[i].clear();
}

const std::string& TextCell::Field() const {
  return column_ < kFieldCount ? fields_[column_] : kEmpty;
}

int32_t TextCell::Type() const {
  const std::string& f = Field();
  if (f.empty()) return CellUndefined;
  for (char c : f) {
    if (!IsDigit(c)) return CellString;
  }
  return CellInteger;
}

const char* TextCell::GetString() const { return Field().c_str(); }

bool TextCell::GetInteger(int32_t& out) const {
  const std::string& f = Field();
  size_t i = 0;
  while (i < f.size() && IsSpace(f[i])) ++i;
  bool negative = false;
  if (i < f.size() && (f[i] == '+' || f[i] == '-')) negative = f[i++] == '-';
  if (i == f.size() || !IsDigit(f[i])) return false;
  // Accumulate the magnitude in 64 bits and give up as soon as it leaves the 32-bit range.
  const int64_t limit = negative ? -static_cast<int64_t>(std::numeric_limits<int32_t>::min())
                                 : std::numeric_limits<int32_t>::max();
  int64_t value = 0;
  for (; i < f.size() && IsDigit(f[i]); ++i) {
    value = value * 10 + (f[i] - '0');
    if (value > limit) return false;
  }
  out = static_cast<int32_t>(negative ? -value : value);
  return true;
}

int32_t TextCell::GetInteger() const {
  int32_t value = 0;
  return GetInteger(value) ? value : 0;
}
