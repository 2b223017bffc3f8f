#include "upload/document_text.h"

#include <cstdio>
#include <memory>

std::string JoinLines(std::string_view raw) {
  std::string out;
  out.reserve(raw.size());
  for (size_t i = 0; i < raw.size(); ++i) {
    const char c = raw[i];
    if (c == '\n') continue;
    if (c == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
    out += c;
  }
  return out;
}

bool ReadDocumentText(const std::string& path, std::string& text) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) return false;
  std::string raw;
  char buffer[1 << 16];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) raw.append(buffer, got);
  // A directory opens but cannot be read: that is no document.
  if (std::ferror(file.get())) return false;
  text = JoinLines(raw);
  return true;
}
