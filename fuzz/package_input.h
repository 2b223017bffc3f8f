// Fuzzer bytes turned into a package the readers accept as a zip, so the mutations reach
// the XML readers instead of dying on a checksum: for .xlsx, the bytes are the parts below
// separated by NUL bytes; for .ods, they are the content part. Entries are stored, with
// correct checksums. The container itself is fuzzed apart, from raw bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/zip_maker.h"

inline std::string XlsxPackageFromParts(const uint8_t* data, size_t size) {
  static const char* const kParts[] = {"_rels/.rels", "xl/workbook.xml", "xl/_rels/workbook.xml.rels",
                                       "xl/sharedStrings.xml", "xl/worksheets/sheet1.xml",
                                       "xl/worksheets/sheet2.xml", "xl/chartsheets/sheet3.xml"};
  std::vector<zip_maker::Entry> entries;
  const std::string input(reinterpret_cast<const char*>(data), size);
  size_t from = 0;
  for (const char* name : kParts) {
    if (from > input.size()) break;
    size_t to = input.find('\0', from);
    if (to == std::string::npos) to = input.size();
    entries.push_back(zip_maker::File(name, input.substr(from, to - from), false));
    from = to + 1;
  }
  return zip_maker::Archive(entries);
}

inline std::string OdsPackageFromContent(const uint8_t* data, size_t size) {
  return zip_maker::Archive({zip_maker::File("mimetype", "application/vnd.oasis.opendocument.spreadsheet", false),
                             zip_maker::File("content.xml", std::string(reinterpret_cast<const char*>(data), size), false)});
}
