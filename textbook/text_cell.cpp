#include "textbook/text_cell.h"

#include <optional>

#include "text/numbers.h"

namespace {

const std::string kEmpty;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

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
  const std::optional<int32_t> value = LeadingInteger(Field());
  if (value) out = *value;
  return value.has_value();
}

int32_t TextCell::GetInteger() const {
  int32_t value = 0;
  return GetInteger(value) ? value : 0;
}
