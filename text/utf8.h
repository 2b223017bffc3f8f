// UTF-8 in both directions: the one encoder of code points, and the conversions from the
// 16-bit and 8-bit texts the readers hold and back to the window's UTF-16. Pure functions on
// standard strings; every malformed input has a defined result, never an error.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Appends the UTF-8 form of `code_point`; a surrogate or a value past U+10FFFF becomes U+FFFD.
void AppendUtf8(std::string& out, char32_t code_point);

// UTF-16 to UTF-8. An unpaired surrogate is written as U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// Latin-1 to UTF-8: byte b is U+00bb. The Into form writes over `out`, reusing its room.
std::string Latin1ToUtf8(std::string_view text);
void Latin1ToUtf8Into(std::string_view text, std::string& out);

// UTF-8 to UTF-16. Every byte that does not start a well-formed sequence, and every cut-off
// sequence, becomes one U+FFFD (the "maximal subpart" rule).
std::u16string Utf8ToUtf16(std::string_view bytes);

// The length of the run of ASCII bytes at the start of `bytes`, read eight at a time: the fast
// path that lets an ASCII text cost one pass.
size_t AsciiPrefixLength(std::string_view bytes);

// True when `bytes` is well-formed UTF-8 throughout (no overlong form, surrogate or value
// above U+10FFFF).
bool IsUtf8(std::string_view bytes);
