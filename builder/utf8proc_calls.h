// The utf8proc functions name folding calls, found in the shared library when the first name
// that is not ASCII is folded instead of when the program starts: most tables' names are
// ASCII, and every build would pay for loading utf8proc. The library stays loaded for the
// life of the process.
#pragma once

#include <utf8proc.h>

struct Utf8procCalls {
  decltype(&::utf8proc_decompose) decompose;
  decltype(&::utf8proc_reencode) reencode;
};

// The calls, or null when the library or one of them cannot be found (then names that are
// not ASCII are compared as they are). Safe to call from any thread.
const Utf8procCalls* Utf8proc();
