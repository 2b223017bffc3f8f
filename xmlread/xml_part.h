// Parses one zip entry as XML while it inflates: each chunk goes straight from the
// inflater into the parser's buffer, so a part is never held whole.
#pragma once

#include <cstdint>

#include "xmlread/xml_parser.h"
#include "zip/zip_archive.h"

namespace XmlRead {

// False when the entry is damaged or over a zip limit, or the XML is bad or refused.
bool ParsePart(const Zip::Archive& archive, uint64_t index, Handler& handler, Names names = Names::kResolved);

}  // namespace XmlRead
