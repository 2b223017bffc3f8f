#include "app/text_codec.h"

#include <algorithm>

#include "text/utf8.h"

std::string Utf16ToUtf8(std::u16string_view text, bool backslash_is_separator) {
  if (!backslash_is_separator) return Utf16ToUtf8(text);
  std::u16string units(text);
  std::replace(units.begin(), units.end(), u'\\', u'/');
  return Utf16ToUtf8(units);
}

std::string str16_to_str8(const QString& str_in) {
  return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(str_in.utf16()),
                                         static_cast<size_t>(str_in.size())),
                     kBackslashIsSeparator);
}

QString str8_to_str16(const std::string& str_in) {
  return QString::fromStdU16String(Utf8ToUtf16(str_in));
}
