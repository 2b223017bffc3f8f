#include "builder/utf8proc_calls.h"

#include "lazylib/shared_library.h"

namespace {

bool Load(Utf8procCalls& calls) {
  // The soname the build was configured against: the calls' types are that version's.
  void* library = LazyLib::Open(TALLYFORM_UTF8PROC_SONAME);
  return library && LazyLib::Find(library, "utf8proc_decompose", calls.decompose) &&
         LazyLib::Find(library, "utf8proc_reencode", calls.reencode);
}

}  // namespace

const Utf8procCalls* Utf8proc() { return LazyLib::LoadOnce(Load); }
