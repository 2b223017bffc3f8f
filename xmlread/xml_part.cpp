#include "xmlread/xml_part.h"

#include "zip/inflate_ahead.h"

namespace XmlRead {
namespace {

bool ParseInline(const Zip::Archive& archive, uint64_t index, Parser& parser) {
  Zip::EntryStream stream;
  if (!stream.Open(archive, index)) return false;
  for (;;) {
    void* buffer = parser.Buffer();
    if (!buffer) return false;
    const int64_t got = stream.Read(buffer, Parser::kChunkBytes);
    if (got < 0) return false;
    if (!parser.Parse(static_cast<size_t>(got))) return false;
    if (got == 0) return true;
  }
}

bool ParseAhead(const Zip::Archive& archive, uint64_t index, Parser& parser) {
  Zip::InflateAhead ahead;
  // Without a second thread the part is still read, inline.
  if (!ahead.Start(archive, index)) return ParseInline(archive, index, parser);
  for (;;) {
    std::string_view bytes;
    if (!ahead.Next(bytes)) return false;
    if (bytes.empty()) return parser.Buffer() && parser.Parse(0);
    if (!parser.Feed(bytes)) return false;
  }
}

}  // namespace

bool ParsePart(const Zip::Archive& archive, uint64_t index, Handler& handler, Names names, Inflating inflating) {
  Parser parser(handler, names);
  return inflating == Inflating::kAhead ? ParseAhead(archive, index, parser) : ParseInline(archive, index, parser);
}

bool ParsePart(const Zip::Archive& archive, uint64_t index, Handler& handler, Names names) {
  const bool large = archive.DeclaredSize(index) >= kInflateAheadBytes;
  return ParsePart(archive, index, handler, names, large ? Inflating::kAhead : Inflating::kInline);
}

}  // namespace XmlRead
