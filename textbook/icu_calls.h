// The ICU conversion functions the text reader calls, found in the shared library when the
// first text that is not UTF-8 is decoded instead of when the program starts: loading ICU
// (and its data library) costs every process over a millisecond, and most tables are UTF-8
// or ASCII, which need none of it. The library stays loaded for the life of the process.
#pragma once

#include <unicode/ucnv.h>
#include <unicode/ustring.h>

namespace TextBook {

struct IcuCalls {
  decltype(&::ucnv_open) open;
  decltype(&::ucnv_close) close;
  decltype(&::ucnv_reset) reset;
  decltype(&::ucnv_toUnicode) toUnicode;
  decltype(&::ucnv_toUChars) toUChars;
  decltype(&::u_strToUTF8) strToUTF8;
  decltype(&::u_strToUTF8WithSub) strToUTF8WithSub;
};

// The calls, or null when the library or one of them cannot be found (then only UTF-8 and
// ASCII texts can be read). Safe to call from any thread.
const IcuCalls* Icu();

}  // namespace TextBook
