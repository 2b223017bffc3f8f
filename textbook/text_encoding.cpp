#include "textbook/text_encoding.h"

#include <unicode/utf16.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "text/utf8.h"
#include "textbook/icu_calls.h"

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

// The most UTF-8 bytes an ill-formed UTF-8 text can become: a byte at most three (U+FFFD).
size_t Utf8BoundOfBytes(std::string_view s) {
  size_t high = 0;
  for (const char c : s) high += static_cast<unsigned char>(c) >= 0x80;
  return s.size() + 2 * high;
}

// The most UTF-8 bytes a UTF-16 text can become: an ASCII unit one byte, any other unit at
// most three (a pair: four for two units), an odd last byte three (U+FFFD).
size_t Utf8BoundOfUtf16(std::string_view s, bool little_endian) {
  size_t bound = 3 * (s.size() % 2);
  for (size_t i = 0; i + 1 < s.size(); i += 2) {
    const auto lo = static_cast<unsigned char>(s[little_endian ? i : i + 1]);
    const auto hi = static_cast<unsigned char>(s[little_endian ? i + 1 : i]);
    bound += hi == 0 && lo < 0x80 ? 1 : 3;
  }
  return bound;
}

using Converter = std::unique_ptr<UConverter, decltype(&ucnv_close)>;
using TextBook::Icu;
using TextBook::IcuCalls;

// Converts `bytes` from offset `from` on, in the ICU converter `charset`, to UTF-8; whatever
// cannot be decoded becomes U+FFFD (ICU's substitution for these converters). `bound` is the
// most the text can become: reserved at once (with the line feed text mode may add), so the
// result is never copied while it grows, and the input is released before the caller goes on.
bool ConvertToUtf8(std::string& bytes, size_t from, const char* charset, size_t bound) {
  const IcuCalls* icu = Icu();
  if (!icu) return false;
  UErrorCode status = U_ZERO_ERROR;
  const Converter converter(icu->open(charset, &status), icu->close);
  if (U_FAILURE(status)) return false;

  constexpr int32_t kUnits = 1 << 14;
  UChar units[kUnits];
  char utf8[kUnits * 3];  // a UTF-16 unit takes at most three bytes in UTF-8
  std::string out;
  out.reserve(bound + 1);
  const char* source = bytes.data() + from;
  const char* const source_end = bytes.data() + bytes.size();
  int32_t carried = 0;
  bool more = true;
  while (more) {
    UChar* target = units + carried;
    status = U_ZERO_ERROR;
    icu->toUnicode(converter.get(), &target, units + kUnits, &source, source_end, nullptr, true, &status);
    more = status == U_BUFFER_OVERFLOW_ERROR;
    if (U_FAILURE(status) && !more) return false;
    auto count = static_cast<int32_t>(target - units);
    // A surrogate pair split between two rounds is kept whole for the next one.
    carried = more && count > 0 && U16_IS_LEAD(units[count - 1]) ? 1 : 0;
    count -= carried;
    int32_t length = 0;
    status = U_ZERO_ERROR;
    icu->strToUTF8WithSub(utf8, sizeof utf8, &length, units, count, 0xFFFD, nullptr, &status);
    if (U_FAILURE(status)) return false;
    out.append(utf8, static_cast<size_t>(length));
    if (carried) units[0] = units[count];
  }
  bytes.swap(out);
  return true;
}

// How ICU decodes each Windows-1252 byte, in UTF-8, asked once: a single-byte encoding maps
// byte by byte, so a table then converts in one pass, in place. ICU gives the five bytes that
// Windows-1252 leaves undefined as the C1 controls, and no defined byte as one: those five
// become U+FFFD.
struct ByteDecoding {
  bool ok = false;
  uint8_t length[256] = {};
  char utf8[256][3] = {};
};

const ByteDecoding& Windows1252() {
  static const ByteDecoding decoding = [] {
    ByteDecoding d;
    const IcuCalls* icu = Icu();
    if (!icu) return d;
    UErrorCode status = U_ZERO_ERROR;
    // "windows-1252" is ICU's alias of its Windows code page table.
    const Converter converter(icu->open("windows-1252", &status), icu->close);
    if (U_FAILURE(status)) return d;
    for (int b = 0; b < 256; ++b) {
      const char byte = static_cast<char>(b);
      UChar unit = 0;
      status = U_ZERO_ERROR;
      icu->reset(converter.get());
      if (icu->toUChars(converter.get(), &unit, 1, &byte, 1, &status) != 1 || U_FAILURE(status)) return d;
      if (unit >= 0x80 && unit <= 0x9F) unit = 0xFFFD;
      int32_t length = 0;
      icu->strToUTF8(d.utf8[b], 3, &length, &unit, 1, &status);
      if (U_FAILURE(status)) return d;
      d.length[b] = static_cast<uint8_t>(length);
    }
    d.ok = true;
    return d;
  }();
  return decoding;
}

// Every byte becomes at least one, so the text grows from the back without overwriting a byte
// not yet read; what precedes the first non-ASCII byte stays where it is.
bool Windows1252ToUtf8(std::string& bytes) {
  const ByteDecoding& map = Windows1252();
  if (!map.ok) return false;
  const size_t first = AsciiPrefixLength(bytes);
  size_t size = first;
  for (size_t i = first; i < bytes.size(); ++i) size += map.length[static_cast<unsigned char>(bytes[i])];
  size_t from = bytes.size();
  bytes.resize(size);
  char* const text = bytes.data();
  for (size_t to = size; from > first;) {
    const auto b = static_cast<unsigned char>(text[--from]);
    for (uint8_t k = map.length[b]; k > 0; --k) text[--to] = map.utf8[b][k - 1];
  }
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
    const size_t bound = Utf8BoundOfUtf16(std::string_view(bytes).substr(kUtf16LeBom.size()), le);
    if (!ConvertToUtf8(bytes, kUtf16LeBom.size(), le ? "UTF-16LE" : "UTF-16BE", bound)) return false;
    CutAtCtrlZ(bytes);
    return true;
  }
  encoding = TextEncoding::kUtf8;
  const bool marked = StartsWith(bytes, kUtf8Bom);
  CutAtCtrlZ(bytes);
  if (marked) bytes.erase(0, kUtf8Bom.size());
  if (IsUtf8(bytes)) return true;
  if (marked) return ConvertToUtf8(bytes, 0, "UTF-8", Utf8BoundOfBytes(bytes));
  encoding = TextEncoding::kWindows1252;
  return Windows1252ToUtf8(bytes);
}
