// The libzip functions an Archive calls, found in the shared library when the first archive
// is opened instead of when the program starts: loading libzip, and the crypto library it
// brings, costs every process a few milliseconds, and only .xlsx and .ods workbooks need it.
// The library stays loaded for the life of the process.
#pragma once

#include <zip.h>

namespace Zip {

struct LibZipCalls {
  decltype(&::zip_discard) discard;
  decltype(&::zip_error_fini) error_fini;
  decltype(&::zip_error_init) error_init;
  decltype(&::zip_fclose) fclose;
  decltype(&::zip_fopen_index) fopen_index;
  decltype(&::zip_fread) fread;
  decltype(&::zip_get_name) get_name;
  decltype(&::zip_get_num_entries) get_num_entries;
  decltype(&::zip_open_from_source) open_from_source;
  decltype(&::zip_source_buffer_create) source_buffer_create;
  decltype(&::zip_source_free) source_free;
  decltype(&::zip_stat_index) stat_index;
  decltype(&::zip_stat_init) stat_init;
};

// The calls, or null when the library or one of them cannot be found (then no archive opens).
// Safe to call from any thread.
const LibZipCalls* LibZip();

}  // namespace Zip
