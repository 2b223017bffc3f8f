// The character encoding of a text table, decided once from the file's bytes, and the
// conversion of those bytes to UTF-8 (through ICU), so every text the table hands out is UTF-8.
// The caller owns the buffer; DecodeToUtf8 rewrites it in place.
#pragma once

#include <string>
#include <string_view>

enum class TextEncoding { kUtf8, kUtf16LE, kUtf16BE, kWindows1252 };

// "UTF-8", "UTF-16LE", "UTF-16BE" or "Windows-1252".
const char* TextEncodingName(TextEncoding encoding);

// Decides the encoding of a file's `bytes` and turns them into UTF-8 in place:
//   a UTF-16 LE or BE byte-order mark: UTF-16 (pairs combined, a lone surrogate or an odd last
//     byte as U+FFFD);
//   a UTF-8 byte-order mark, or bytes that are valid UTF-8 throughout: UTF-8 (after a mark,
//     ill-formed sequences as U+FFFD);
//   anything else: Windows-1252 (its five undefined bytes as U+FFFD).
// Byte-order marks are dropped. The input ends at its first Ctrl-Z character, as text mode reads
// files; it is found in the file's own encoding, so bytes after it decide nothing. False only
// when ICU cannot convert (its data missing); `bytes` is then unusable.
bool DecodeToUtf8(std::string& bytes, TextEncoding& encoding);
