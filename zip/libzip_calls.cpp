#include "zip/libzip_calls.h"

#include "lazylib/shared_library.h"

namespace Zip {
namespace {

using LazyLib::Find;

bool Load(LibZipCalls& calls) {
  // The soname the build was configured against: the calls' types are that version's.
  void* library = LazyLib::Open(TALLYFORM_LIBZIP_SONAME);
  if (!library) return false;
  return Find(library, "zip_discard", calls.discard) && Find(library, "zip_error_fini", calls.error_fini) &&
         Find(library, "zip_error_init", calls.error_init) && Find(library, "zip_fclose", calls.fclose) &&
         Find(library, "zip_fopen_index", calls.fopen_index) && Find(library, "zip_fread", calls.fread) &&
         Find(library, "zip_get_name", calls.get_name) &&
         Find(library, "zip_get_num_entries", calls.get_num_entries) &&
         Find(library, "zip_open_from_source", calls.open_from_source) &&
         Find(library, "zip_source_buffer_create", calls.source_buffer_create) &&
         Find(library, "zip_source_free", calls.source_free) && Find(library, "zip_stat_index", calls.stat_index) &&
         Find(library, "zip_stat_init", calls.stat_init);
}

}  // namespace

const LibZipCalls* LibZip() { return LazyLib::LoadOnce(Load); }

}  // namespace Zip
