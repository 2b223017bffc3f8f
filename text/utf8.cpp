#include "text/utf8.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t u) { return u >= 0xD800 && u < 0xDC00; }
bool IsLowSurrogate(char32_t u) { return u >= 0xDC00 && u < 0xE000; }

void AppendUtf16(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out += static_cast<char16_t>(cp);
  } else {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (cp >> 10));
    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  }
}

// Decodes the sequence starting at `i`. Returns the bytes it spans and sets `cp`; a byte that
// starts no well-formed sequence, or a cut-off sequence, spans its maximal subpart and sets
// `ok` false.
size_t DecodeOne(std::string_view bytes, size_t i, char32_t& cp, bool& ok) {
  const auto lead = static_cast<unsigned char>(bytes[i]);
  ok = true;
  if (lead < 0x80) {
    cp = lead;
    return 1;
  }
  size_t length = 0;
  // The second byte's range depends on the lead: this rejects overlong forms, surrogates
  // and values above U+10FFFF at the first byte where they become certain.
  unsigned char low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, cp = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, cp = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    ok = false;
    return 1;
  }
  size_t taken = 1;
  for (; taken < length; ++taken) {
    if (i + taken >= bytes.size()) {
      ok = false;
      break;
    }
    const auto b = static_cast<unsigned char>(bytes[i + taken]);
    const bool in_range = taken == 1 ? (b >= low && b <= high) : (b & 0xC0) == 0x80;
    if (!in_range) {
      ok = false;
      break;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  return taken;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
  if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = 0xFFFD;  // no code point to write
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t u = text[i];
    if (IsHighSurrogate(u) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      u = 0x10000 + ((u - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (IsHighSurrogate(u) || IsLowSurrogate(u)) {
      u = kReplacement;
    }
    AppendUtf8(out, u);
  }
  return out;
}

void Latin1ToUtf8Into(std::string_view text, std::string& out) {
  // ASCII reads the same in both: most texts are copied whole.
  const size_t ascii = AsciiPrefixLength(text);
  out.assign(text.substr(0, ascii));
  if (ascii == text.size()) return;
  out.reserve(text.size() + (text.size() - ascii));
  for (const char c : text.substr(ascii)) AppendUtf8(out, static_cast<unsigned char>(c));
}

std::string Latin1ToUtf8(std::string_view text) {
  std::string out;
  Latin1ToUtf8Into(text, out);
  return out;
}

std::u16string Utf8ToUtf16(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  size_t i = 0;
  while (i < bytes.size()) {
    char32_t cp = 0;
    bool ok = false;
    i += DecodeOne(bytes, i, cp, ok);
    AppendUtf16(out, ok ? cp : kReplacement);
  }
  return out;
}

size_t AsciiPrefixLength(std::string_view bytes) {
  size_t i = 0;
  for (uint64_t word; i + sizeof word <= bytes.size(); i += sizeof word) {
    std::memcpy(&word, bytes.data() + i, sizeof word);
    if (word & 0x8080808080808080u) break;
  }
  while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80) ++i;
  return i;
}

bool IsUtf8(std::string_view bytes) {
  size_t i = AsciiPrefixLength(bytes);
  while (i < bytes.size()) {
    char32_t cp = 0;
    bool ok = false;
    i += DecodeOne(bytes, i, cp, ok);
    if (!ok) return false;
    i += AsciiPrefixLength(bytes.substr(i));
  }
  return true;
}
