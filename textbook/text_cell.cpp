#include "textbook/text_cell.h"

#include <optional>

#include "text/numbers.h"

#include "textbook/text_records.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Gathers one field: a view of the first piece, a copy once a second piece comes.
struct OneField {
  void Append(const char* data, size_t size) {
    if (size == 0) return;
    if (!joining && field.empty()) {
      field = std::string_view(data, size);
      return;
    }
    if (!joining) joined.assign(field);
    joining = true;
    joined.append(data, size);
    field = joined;
  }
  bool NextField() { return false; }  // one field per walk
  std::string_view& field;
  std::string& joined;
  bool joining = false;
};

}  // namespace

void TextCell::Start(uint32_t row, std::string_view record, char delimiter) {
  row_ = row;
  record_ = record;
  delimiter_ = delimiter;
  split_ = 0;
  next_ = 0;
}

void TextCell::Select(uint32_t col) {
  column_ = col;
  // The walk of one field stops at the delimiter after it, which the next one starts past.
  while (split_ <= col && split_ < kFieldCount && next_ <= record_.size()) {
    fields_[split_] = std::string_view();
    OneField sink{fields_[split_], joined_[split_]};
    ++split_;
    const size_t end = WalkRecord(record_, next_, delimiter_, sink);
    const bool more = end < record_.size() && record_[end] == delimiter_;
    next_ = more ? end + 1 : record_.size() + 1;
  }
}

int32_t TextCell::Type() const {
  const std::string_view f = Field();
  if (f.empty()) return CellUndefined;
  for (char c : f) {
    if (!IsDigit(c)) return CellString;
  }
  return CellInteger;
}

const char* TextCell::GetString() const {
  terminated_.assign(Field());
  return terminated_.c_str();
}

bool TextCell::GetInteger(int32_t& out) const {
  const std::optional<int32_t> value = LeadingInteger(Field());
  if (value) out = *value;
  return value.has_value();
}

int32_t TextCell::GetInteger() const {
  int32_t value = 0;
  return GetInteger(value) ? value : 0;
}
