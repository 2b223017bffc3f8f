#include "xlsx/part_names.h"

#include <vector>

namespace Xlsx {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string PercentDecoded(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size()) {
      const int hi = HexDigit(s[i + 1]), lo = HexDigit(s[i + 2]);
      if (hi >= 0 && lo >= 0) {
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
        continue;
      }
    }
    out += s[i] == '\\' ? '/' : s[i];
  }
  return out;
}

}  // namespace

std::string RelationshipsPartOf(std::string_view part) {
  const size_t slash = part.rfind('/');
  const std::string_view folder = slash == std::string_view::npos ? std::string_view() : part.substr(0, slash + 1);
  const std::string_view name = slash == std::string_view::npos ? part : part.substr(slash + 1);
  return std::string(folder) + "_rels/" + std::string(name) + ".rels";
}

std::string ResolveTarget(std::string_view sourcePart, std::string_view target) {
  const std::string decoded = PercentDecoded(target);
  std::string joined;
  if (!decoded.empty() && decoded[0] == '/') {
    joined = decoded;
  } else {
    const size_t slash = sourcePart.rfind('/');
    if (slash != std::string_view::npos) joined = std::string(sourcePart.substr(0, slash + 1));
    joined += decoded;
  }
  std::vector<std::string> segments;
  size_t from = 0;
  while (from <= joined.size()) {
    size_t to = joined.find('/', from);
    if (to == std::string::npos) to = joined.size();
    const std::string segment = joined.substr(from, to - from);
    if (segment == "..") {
      if (!segments.empty()) segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
    from = to + 1;
  }
  std::string out;
  for (const auto& s : segments) {
    if (!out.empty()) out += '/';
    out += s;
  }
  return out;
}

}  // namespace Xlsx
