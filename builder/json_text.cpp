#include "builder/json_text.h"

void AppendJsonString(std::string& out, std::string_view value) {
  static const char kHex[] = "0123456789abcdef";
  out.push_back('"');
  for (char c : value) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (byte < 0x20) {
          out += "\\u00";
          out.push_back(kHex[byte >> 4]);
          out.push_back(kHex[byte & 0xF]);
        } else {
          out.push_back(c);
        }
    }
  }
  out.push_back('"');
}

void AppendRecord(std::string& out, std::string_view song, std::string_view patch,
                  std::string_view notes, std::string_view bpm) {
  out += "{\"song\":";
  AppendJsonString(out, song);
  out += ",\"patch\":";
  AppendJsonString(out, patch);
  out += ",\"notes\":";
  AppendJsonString(out, notes);
  out += ",\"bpm\":";
  AppendJsonString(out, bpm);
  out.push_back('}');
}
