// The zip container from arbitrary bytes: open, then inflate every entry to its end.
#include <cstdint>
#include <string>

#include "zip/zip_archive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Zip::Archive archive;
  if (!archive.Open(data, size)) return 0;
  for (uint64_t i = 0; i < Zip::Archive::kMaxEntries; ++i) {
    Zip::EntryStream stream;
    if (!stream.Open(archive, i)) {
      if (i > 64) break;  // past the entries (or a run of unreadable ones)
      continue;
    }
    char buffer[65536];
    while (stream.Read(buffer, sizeof buffer) > 0) {
    }
  }
  archive.Find("xl/workbook.xml");
  return 0;
}
