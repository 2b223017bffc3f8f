#include "textbook/text_records.h"

#include <algorithm>
#include <cstring>

namespace {

struct EndOnlySink {
  void Append(const char*, size_t) {}
  bool NextField() { return true; }
};

}  // namespace

const char* TextDelimiterName(TextDelimiter delimiter) {
  switch (delimiter) {
    case TextDelimiter::kComma: return "comma-separated";
    case TextDelimiter::kTab: return "tab-separated";
    case TextDelimiter::kSemicolon: return "semicolon-separated";
    case TextDelimiter::kDetect: break;
  }
  return "";
}

TextDelimiter DetectDelimiter(std::string_view text) {
  size_t commas = 0, tabs = 0, semicolons = 0;
  bool quoted = false;
  for (size_t i = text.find_first_not_of('\n'); i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (c == '\n') break;
    commas += c == ',';
    tabs += c == '\t';
    semicolons += c == ';';
  }
  if (commas >= tabs && commas >= semicolons) return TextDelimiter::kComma;
  return tabs >= semicolons ? TextDelimiter::kTab : TextDelimiter::kSemicolon;
}

std::vector<uint32_t> RecordStarts(std::string_view text, char delimiter, size_t max_records) {
  const size_t n = text.size();
  std::vector<uint32_t> starts;
  // Every record but one after an unclosed quote ends at a line feed: at most one per line.
  const auto lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
  starts.reserve(std::min(lines, max_records) + 1);
  // Records without a quote end at their first line feed; only those holding one are walked.
  size_t quote = text.find('"');
  size_t begin = 0;
  while (begin < n && starts.size() < max_records) {
    starts.push_back(static_cast<uint32_t>(begin));
    const void* lf = std::memchr(text.data() + begin, '\n', n - begin);
    size_t end = lf ? static_cast<size_t>(static_cast<const char*>(lf) - text.data()) : n;
    if (quote < end) {
      EndOnlySink sink;
      end = WalkRecord(text, begin, delimiter, sink);
      quote = end < n ? text.find('"', end) : std::string_view::npos;
    }
    begin = end + 1;
  }
  starts.push_back(static_cast<uint32_t>(std::min(begin, n)));
  return starts;
}
