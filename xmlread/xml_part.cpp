#include "xmlread/xml_part.h"

namespace XmlRead {

bool ParsePart(const Zip::Archive& archive, uint64_t index, Handler& handler, Names names) {
  Zip::EntryStream stream;
  if (!stream.Open(archive, index)) return false;
  Parser parser(handler, names);
  for (;;) {
    void* buffer = parser.Buffer();
    if (!buffer) return false;
    const int64_t got = stream.Read(buffer, Parser::kChunkBytes);
    if (got < 0) return false;
    if (!parser.Parse(static_cast<size_t>(got))) return false;
    if (got == 0) return true;
  }
}

}  // namespace XmlRead
