#include "textbook/text_encoding.h"

#include <unicode/ucnv.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

bool StartsWith(const std::string& bytes, std::string_view prefix) {
  return bytes.compare(0, prefix.size(), prefix) == 0;
}

void CutAtCtrlZ(std::string& text) {
  const size_t ctrl_z = text.find('\x1A');
  if (ctrl_z != std::string::npos) text.resize(ctrl_z);
}

// The length of the ASCII run at the start of `s`, eight bytes at a time: the fast path that
// lets an ASCII table cost no more than one pass over its bytes.
size_t AsciiRun(const char* s, size_t size) {
  size_t i = 0;
  for (uint64_t word; i + sizeof word <= size; i += sizeof word) {
    std::memcpy(&word, s + i, sizeof word);
    if (word & 0x8080808080808080u) break;
  }
  while (i < size && static_cast<unsigned char>(s[i]) < 0x80) ++i;
  return i;
}

bool IsValidUtf8(std::string_view text) {
  // Tables are at most 64 MiB, so ICU's 32-bit offsets hold every position.
  const auto size = static_cast<int32_t>(text.size());
  int32_t i = static_cast<int32_t>(AsciiRun(text.data(), text.size()));
  while (i < size) {
    UChar32 c;
    U8_NEXT(text.data(), i, size, c);
    if (c < 0) return false;
    i += static_cast<int32_t>(AsciiRun(text.data() + i, static_cast<size_t>(size - i)));
  }
  return true;
}

using Converter = std::unique_ptr<UConverter, decltype(&ucnv_close)>;

// Converts `bytes` from offset `from` on, in the ICU converter `charset`, to UTF-8; whatever
// cannot be decoded becomes U+FFFD (ICU's substitution for these converters). ICU maps the five
// bytes that Windows-1252 leaves undefined to the C1 controls, and no defined byte to one, so
// with `c1_undefined` every C1 control is such a byte and becomes U+FFFD as well.
bool ConvertToUtf8(std::string& bytes, size_t from, const char* charset, bool c1_undefined) {
  UErrorCode status = U_ZERO_ERROR;
  const Converter converter(ucnv_open(charset, &status), ucnv_close);
  if (U_FAILURE(status)) return false;

  constexpr int32_t kUnits = 1 << 14;
  UChar units[kUnits];
  char utf8[kUnits * 3];  // a UTF-16 unit takes at most three bytes in UTF-8
  std::string out;
  out.reserve(bytes.size() - from);
  const char* source = bytes.data() + from;
  const char* const source_end = bytes.data() + bytes.size();
  int32_t carried = 0;
  bool more = true;
  while (more) {
    UChar* target = units + carried;
    status = U_ZERO_ERROR;
    ucnv_toUnicode(converter.get(), &target, units + kUnits, &source, source_end, nullptr, true, &status);
    more = status == U_BUFFER_OVERFLOW_ERROR;
    if (U_FAILURE(status) && !more) return false;
    auto count = static_cast<int32_t>(target - units);
    // A surrogate pair split between two rounds is kept whole for the next one.
    carried = more && count > 0 && U16_IS_LEAD(units[count - 1]) ? 1 : 0;
    count -= carried;
    if (c1_undefined) {
      for (int32_t i = 0; i < count; ++i)
        if (units[i] >= 0x80 && units[i] <= 0x9F) units[i] = 0xFFFD;
    }
    int32_t length = 0;
    status = U_ZERO_ERROR;
    u_strToUTF8WithSub(utf8, sizeof utf8, &length, units, count, 0xFFFD, nullptr, &status);
    if (U_FAILURE(status)) return false;
    out.append(utf8, static_cast<size_t>(length));
    if (carried) units[0] = units[count];
  }
  bytes.swap(out);
  return true;
}

}  // namespace

const char* TextEncodingName(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::kUtf16LE: return "UTF-16LE";
    case TextEncoding::kUtf16BE: return "UTF-16BE";
    case TextEncoding::kWindows1252: return "Windows-1252";
    case TextEncoding::kUtf8: break;
  }
  return "UTF-8";
}

bool DecodeToUtf8(std::string& bytes, TextEncoding& encoding) {
  const bool le = StartsWith(bytes, kUtf16LeBom);
  if (le || StartsWith(bytes, kUtf16BeBom)) {
    encoding = le ? TextEncoding::kUtf16LE : TextEncoding::kUtf16BE;
    if (!ConvertToUtf8(bytes, kUtf16LeBom.size(), le ? "UTF-16LE" : "UTF-16BE", false)) return false;
    CutAtCtrlZ(bytes);
    return true;
  }
  encoding = TextEncoding::kUtf8;
  const bool marked = StartsWith(bytes, kUtf8Bom);
  CutAtCtrlZ(bytes);
  if (marked) bytes.erase(0, kUtf8Bom.size());
  if (IsValidUtf8(bytes)) return true;
  if (marked) return ConvertToUtf8(bytes, 0, "UTF-8", false);
  encoding = TextEncoding::kWindows1252;
  // "windows-1252" is ICU's alias of its Windows code page table.
  return ConvertToUtf8(bytes, 0, "windows-1252", true);
}
