// Shared libraries opened when first needed instead of when the program starts. Each library
// a process links costs it about a millisecond to load on the machines we run on, so those
// that only some tables need (libzip, expat, ICU, utf8proc) wait until a table needs them.
// An opened library stays loaded for the life of the process; the callers keep its functions.
#pragma once

#include <dlfcn.h>

namespace LazyLib {

// The library of that soname, or null when it cannot be loaded.
inline void* Open(const char* soname) { return ::dlopen(soname, RTLD_NOW | RTLD_LOCAL); }

// Points `fn` at the function `name` of `library`; false when it has none.
template <typename Fn>
bool Find(void* library, const char* name, Fn& fn) {
  fn = reinterpret_cast<Fn>(::dlsym(library, name));
  return fn != nullptr;
}

// The calls `load` finds, found once, on the first call, whatever the thread; null when the
// library or one of the calls cannot be found. One set per Calls type.
template <typename Calls>
const Calls* LoadOnce(bool (*load)(Calls&)) {
  static Calls calls;
  static const bool loaded = load(calls);
  return loaded ? &calls : nullptr;
}

}  // namespace LazyLib
