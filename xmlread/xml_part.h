// Parses one zip entry as XML while it inflates, so a part is never held whole: a small
// part chunk by chunk straight from the inflater into the parser's buffer, a large one
// inflated ahead on a second thread while the parser works on the chunk before.
#pragma once

#include <cstdint>

#include "xmlread/xml_parser.h"
#include "zip/zip_archive.h"

namespace XmlRead {

// False when the entry is damaged or over a zip limit, or the XML is bad or refused.
bool ParsePart(const Zip::Archive& archive, uint64_t index, Handler& handler, Names names = Names::kResolved);

// How a part's bytes reach the parser; ParsePart picks by the part's declared size.
enum class Inflating { kInline, kAhead };
// Entries declaring at least this many bytes are inflated ahead: below it, a thread costs
// more than it saves.
constexpr uint64_t kInflateAheadBytes = uint64_t{1} << 20;
bool ParsePart(const Zip::Archive& archive, uint64_t index, Handler& handler, Names names, Inflating inflating);

}  // namespace XmlRead
