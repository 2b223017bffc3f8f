#include "text/json_string.h"

namespace {

// The bytes JSON requires escaped: the quote, the backslash and the controls below 0x20.
bool NeedsEscape(unsigned char byte) { return byte < 0x20 || byte == '"' || byte == '\\'; }

}  // namespace

void AppendJsonString(std::string& out, std::string_view value) {
  static const char kHex[] = "0123456789abcdef";
  out.push_back('"');
  size_t plain = 0;  // the start of the bytes not yet copied: copied in runs, not one by one
  for (size_t i = 0; i < value.size(); ++i) {
    const auto byte = static_cast<unsigned char>(value[i]);
    if (!NeedsEscape(byte)) continue;
    out.append(value, plain, i - plain);
    plain = i + 1;
    switch (byte) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        out += "\\u00";
        out.push_back(kHex[byte >> 4]);
        out.push_back(kHex[byte & 0xF]);
    }
  }
  out.append(value, plain);
  out.push_back('"');
}
