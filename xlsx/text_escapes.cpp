#include "xlsx/text_escapes.h"

#include "text/utf8.h"

namespace Xlsx {
namespace {

constexpr size_t kEscapeBytes = 7;  // _xHHHH_

// The code unit of an escape starting at `at`, or -1.
long EscapeAt(std::string_view text, size_t at) {
  if (text.size() - at < kEscapeBytes || text[at] != '_' || text[at + 1] != 'x' || text[at + 6] != '_')
    return -1;
  long unit = 0;
  for (size_t i = at + 2; i < at + 6; ++i) {
    const char c = text[i];
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else return -1;
    unit = unit * 16 + digit;
  }
  return unit;
}

}  // namespace

std::string_view DecodeEscapes(std::string_view text, std::string& scratch) {
  if (text.find("_x") == std::string_view::npos) return text;
  std::string& out = scratch;
  out.clear();
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const long unit = text[i] == '_' ? EscapeAt(text, i) : -1;
    if (unit < 0) {
      out += text[i++];
      continue;
    }
    i += kEscapeBytes;
    char32_t cp = static_cast<char32_t>(unit);
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      const long low = i < text.size() ? EscapeAt(text, i) : -1;
      if (low >= 0xDC00 && low <= 0xDFFF) {
        cp = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (static_cast<char32_t>(low) - 0xDC00);
        i += kEscapeBytes;
      }
    }
    AppendUtf8(out, cp);
  }
  return out;
}

}  // namespace Xlsx
