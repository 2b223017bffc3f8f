#include "builder/xls_cell_values.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "xls/strings.h"

namespace {

// The cached result of a formula whose bytes 6 and 7 are 0xFFFF: byte 0 says which kind.
enum ResultKind : uint8_t { kTextResult = 0, kBooleanResult = 1, kErrorResult = 2, kEmptyResult = 3 };

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
// The blanks a text table's tempo may start with ("C" locale isspace).
bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

std::optional<int32_t> Truncated(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double whole = std::trunc(value);
  if (whole < std::numeric_limits<int32_t>::min() || whole > std::numeric_limits<int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<int32_t>(whole);
}

}  // namespace

std::string NumberText(double value) {
  if (value == 0) return "0";  // also -0.0, which would otherwise print as "-0"
  char buffer[512];            // a whole double in plain decimal needs at most 310 characters
  const bool whole = std::isfinite(value) && std::trunc(value) == value;
  const auto result = whole ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed)
                            : std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::optional<int32_t> LeadingInteger(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size() || !IsDigit(text[i])) return std::nullopt;
  const int64_t limit = negative ? -static_cast<int64_t>(std::numeric_limits<int32_t>::min())
                                 : std::numeric_limits<int32_t>::max();
  int64_t value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > limit) return std::nullopt;
  }
  return static_cast<int32_t>(negative ? -value : value);
}

std::string XlsCellText(const Xls::XlsCell& cell) {
  switch (cell.Type()) {
    case Xls::CellInteger: return std::to_string(cell.GetInteger());
    case Xls::CellDouble: return NumberText(cell.GetDouble());
    case Xls::CellString: {
      const char* text = cell.GetString();
      return text ? Xls::Latin1ToUtf8(text) : std::string();
    }
    case Xls::CellWString: {
      const char16_t* text = cell.GetWString();
      return text ? Xls::ToUtf8(text) : std::string();
    }
    case Xls::CellFormula: {
      const Xls::XlsCell::Formula* f = cell.GetFormula();
      if (!f) return {};
      if (f->HasNumber()) return NumberText(f->Number());
      switch (f->resultBytes[0]) {
        case kTextResult: return Xls::ToUtf8(f->wideResult);
        case kBooleanResult: return f->resultBytes[2] ? "1" : "0";
        default: return {};  // an error or an empty result
      }
    }
    default: return {};
  }
}

std::optional<int32_t> XlsCellTempo(const Xls::XlsCell& cell) {
  switch (cell.Type()) {
    case Xls::CellInteger: return cell.GetInteger();  // Booleans arrive here as 0 or 1
    case Xls::CellDouble: return Truncated(cell.GetDouble());
    case Xls::CellString:
    case Xls::CellWString: return LeadingInteger(XlsCellText(cell));
    case Xls::CellFormula: {
      const Xls::XlsCell::Formula* f = cell.GetFormula();
      if (!f) return std::nullopt;
      if (f->HasNumber()) return Truncated(f->Number());
      switch (f->resultBytes[0]) {
        case kTextResult: return LeadingInteger(Xls::ToUtf8(f->wideResult));
        case kBooleanResult: return f->resultBytes[2] ? 1 : 0;
        default: return std::nullopt;  // an error or an empty result
      }
    }
    default: return std::nullopt;
  }
}
