#include "textbook/text_records.h"

#include <algorithm>
#include <cstring>

namespace {

// Tells only whether a record has a second field.
struct SecondFieldSink {
  void Append(const char*, size_t) {}
  bool NextField() {
    found = true;
    return false;
  }
  bool found = false;
};

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
  const size_t first = text.find_first_not_of('\n');
  if (first == std::string_view::npos) return TextDelimiter::kComma;
  for (const TextDelimiter candidate : {TextDelimiter::kComma, TextDelimiter::kTab, TextDelimiter::kSemicolon}) {
    SecondFieldSink sink;
    WalkRecord(text, first, static_cast<char>(candidate), sink);
    if (sink.found) return candidate;
  }
  return TextDelimiter::kComma;
}

std::vector<uint32_t> RecordStarts(std::string_view text, char delimiter, size_t max_records) {
  const size_t n = text.size();
  std::vector<uint32_t> starts;
  // Every record but one after an unclosed quote ends at a line feed: at most one per line.
  starts.reserve(std::min<size_t>(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')), max_records) + 1);
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
