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
  size_t i = 0;
  while (i < line.size()) {
    // Copy the run of ordinary bytes up to the next comma or quote in one go.
    size_t end = i;
    while (end < line.size() && line[end] != ',' && line[end] != '"') ++end;
    fields_[k].append(line.data() + i, end - i);
    if (end == line.size()) break;
    if (line[end] == '"') {
      quoted = !quoted;
    } else if (quoted) {
      fields_[k].push_back(',');
    } else if (++k == kFieldCount) {
      break;  // only five columns exist; anything after the fifth field is never read
    } else {
      fields_[k].clear();
    }
    i = end + 1;
  }
  if (k == kFieldCount) k = kFieldCount - 1;
  for (uint32_t f = k + 1; f < kFieldCount; ++f) fields_[f].clear();
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
