#include "textbook/text_cell.h"

#include <optional>

#include "text/numbers.h"

#include "textbook/text_records.h"

namespace {

const std::string kEmpty;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

void TextCell::Fill(uint32_t row, uint32_t col, std::string_view record, char delimiter) {
  row_ = row;
  column_ = col;
  // Only five columns exist: the walk ends at the fifth field's end.
  struct FieldSink {
    void Append(const char* data, size_t size) { fields[k].append(data, size); }
    bool NextField() {
      if (++k == kFieldCount) return false;
      fields[k].clear();
      return true;
    }
    std::array<std::string, kFieldCount>& fields;
    uint32_t k;
  } sink{fields_, 0};
  fields_[0].clear();
  WalkRecord(record, 0, delimiter, sink);
  const uint32_t last = sink.k == kFieldCount ? kFieldCount - 1 : sink.k;
  for (uint32_t f = last + 1; f < kFieldCount; ++f) fields_[f].clear();
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
