// Records and fields of a delimited-text table, as spreadsheet programs write them: a field that
// starts with a double quote is quoted, and inside it the delimiter and line breaks are text and
// "" is one quote; after its closing quote the field goes on unquoted. A quote anywhere else is
// an ordinary character, and an unclosed quote runs to the end of the text. A record ends at the
// first line feed outside quotes. The load finds records and the cell split finds fields through
// the same walk, so the two cannot disagree.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

enum class TextDelimiter : char { kDetect = 0, kComma = ',', kTab = '\t', kSemicolon = ';' };

// "comma-separated", "tab-separated" or "semicolon-separated" (kDetect: the empty text).
const char* TextDelimiterName(TextDelimiter delimiter);

// Walks the record that starts at offset `at` of `text`, handing its fields to `sink`:
// sink.Append(data, size) adds text to the current field, sink.NextField() starts the next one
// and returns false to end the walk there. Returns the offset of the line feed that ends the
// record, or text.size() when the text ends first (unless the sink ended the walk).
template <class Sink>
size_t WalkRecord(std::string_view text, size_t at, char delimiter, Sink& sink) {
  const size_t n = text.size();
  while (true) {
    if (at < n && text[at] == '"') {
      for (++at;;) {
        const size_t quote = text.find('"', at);
        if (quote == std::string_view::npos) {
          sink.Append(text.data() + at, n - at);
          return n;
        }
        sink.Append(text.data() + at, quote - at);
        at = quote + 1;
        if (at == n || text[at] != '"') break;
        sink.Append(text.data() + at, 1);  // "" inside quotes: one quote
        ++at;
      }
    }
    size_t end = at;
    while (end < n && text[end] != delimiter && text[end] != '\n') ++end;
    sink.Append(text.data() + at, end - at);
    if (end == n || text[end] == '\n' || !sink.NextField()) return end;
    at = end + 1;
  }
}

// The delimiter of a table, from its first non-empty record: of the comma, the tab and the
// semicolon, the one it holds most often outside quotes, the earlier of them on a tie; the comma
// when it holds none. (Tab and semicolon exports leave a comma inside a text unquoted, so a lone
// comma must not outvote their delimiters.) Quotes here simply open and close, as in every
// record a writer quotes fully, since the delimiter that would say where a field starts is what
// is being found.
TextDelimiter DetectDelimiter(std::string_view text);

// The offset of every record of `text` (which ends in a line feed), at most `max_records` of
// them, followed by the offset where the next record would start (text.size() after the last).
// Record r is then [starts[r], starts[r + 1] - 1): its ending line feed, and the table's final
// one after an unclosed quote, are not part of it. Offsets fit in 32 bits: tables are small.
std::vector<uint32_t> RecordStarts(std::string_view text, char delimiter, size_t max_records);
