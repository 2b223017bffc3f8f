// Conversions between the window's UTF-16 text and the 8-bit strings that paths, cell texts
// and the upload use. The 8-bit side is UTF-8, the encoding of file names on Linux. The pure
// functions work on standard strings so they can be tested without a window; the QString
// forms are what the window calls.
#pragma once

#include <QString>

#include <string>
#include <string_view>

#include "text/utf8.h"

// True where "\" separates folders; there a backslash becomes "/" on the way to 8 bits.
#ifdef _WIN32
inline constexpr bool kBackslashIsSeparator = true;
#else
inline constexpr bool kBackslashIsSeparator = false;
#endif

// UTF-16 to UTF-8. An unpaired surrogate is written as U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text, bool backslash_is_separator);

// UTF-8 to UTF-16 is text/utf8.h's Utf8ToUtf16.

// The window's forms: the platform's separator rule applied.
std::string str16_to_str8(const QString& str_in);
QString str8_to_str16(const std::string& str_in);
