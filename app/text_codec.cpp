#include "app/text_codec.h"

#include <algorithm>

#include "xls/strings.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf16(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out += static_cast<char16_t>(cp);
  } else {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (cp >> 10));
    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  }
}

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

}  // namespace

std::string Utf16ToUtf8(std::u16string_view text, bool backslash_is_separator) {
  std::u16string units(text);
  if (backslash_is_separator) std::replace(units.begin(), units.end(), u'\\', u'/');
  return Xls::ToUtf8(units);
}

std::u16string Utf8ToUtf16(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  size_t i = 0;
  while (i < bytes.size()) {
    const unsigned char lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      out += static_cast<char16_t>(lead);
      ++i;
      continue;
    }
    size_t length = 0;
    char32_t cp = 0;
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
      out += static_cast<char16_t>(kReplacement);
      ++i;
      continue;
    }
    size_t taken = 1;
    bool complete = true;
    for (; taken < length; ++taken) {
      if (i + taken >= bytes.size()) {
        complete = false;
        break;
      }
      const unsigned char b = static_cast<unsigned char>(bytes[i + taken]);
      const bool in_range = taken == 1 ? (b >= low && b <= high) : IsContinuation(b);
      if (!in_range) {
        complete = false;
        break;
      }
      cp = (cp << 6) | (b & 0x3F);
    }
    if (complete) {
      AppendUtf16(out, cp);
    } else {
      out += static_cast<char16_t>(kReplacement);
    }
    i += taken;
  }
  return out;
}

std::string str16_to_str8(const QString& str_in) {
  return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(str_in.utf16()),
                                         static_cast<size_t>(str_in.size())),
                     kBackslashIsSeparator);
}

QString str8_to_str16(const std::string& str_in) {
  return QString::fromStdU16String(Utf8ToUtf16(str_in));
}
