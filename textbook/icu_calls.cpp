#include "textbook/icu_calls.h"

#include "lazylib/shared_library.h"

namespace TextBook {
namespace {

using LazyLib::Find;

// ICU's headers rename each function after the version (ucnv_open is ucnv_open_72): the
// symbol to look up is the name as the header spells it.
#define TALLYFORM_ICU_NAME(fn) TALLYFORM_ICU_SPELLED(fn)
#define TALLYFORM_ICU_SPELLED(fn) #fn

bool Load(IcuCalls& calls) {
  // The soname the build was configured against: the calls' types are that version's.
  void* library = LazyLib::Open(TALLYFORM_ICU_UC_SONAME);
  if (!library) return false;
  return Find(library, TALLYFORM_ICU_NAME(ucnv_open), calls.open) &&
         Find(library, TALLYFORM_ICU_NAME(ucnv_close), calls.close) &&
         Find(library, TALLYFORM_ICU_NAME(ucnv_reset), calls.reset) &&
         Find(library, TALLYFORM_ICU_NAME(ucnv_toUnicode), calls.toUnicode) &&
         Find(library, TALLYFORM_ICU_NAME(ucnv_toUChars), calls.toUChars) &&
         Find(library, TALLYFORM_ICU_NAME(u_strToUTF8), calls.strToUTF8) &&
         Find(library, TALLYFORM_ICU_NAME(u_strToUTF8WithSub), calls.strToUTF8WithSub);
}

}  // namespace

const IcuCalls* Icu() { return LazyLib::LoadOnce(Load); }

}  // namespace TextBook
