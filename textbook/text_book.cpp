#include "textbook/text_book.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <utility>
#include <vector>

namespace {

// Reads the whole file in binary; false when it cannot be opened or read. Only regular files
// and pipes are tables: a directory or a device (which may never end) is refused.
bool ReadWholeFile(const std::string& filename, std::string& out) {
  // Non-blocking open: a named pipe nobody writes to would otherwise wait forever in open().
  const int fd = ::open(filename.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat st {};
  bool ok = ::fstat(fd, &st) == 0 && (S_ISREG(st.st_mode) || S_ISFIFO(st.st_mode)) &&
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0;
  if (ok && S_ISREG(st.st_mode) && static_cast<uint64_t>(st.st_size) > TextBook::kMaxTableBytes) ok = false;
  // Room for the text to become UTF-8 in place (a Windows-1252 byte takes at most three bytes)
  // and for the line feed text mode may add. Pages never written are never mapped, so an
  // ASCII or UTF-8 table still costs its own size.
  if (ok && S_ISREG(st.st_mode) && st.st_size > 0) out.reserve(3 * static_cast<size_t>(st.st_size) + 1);
  char chunk[1 << 16];
  while (ok) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ok = false;
    if (n <= 0) break;
    // Also for a file that grew after fstat, and for pipes.
    if (static_cast<size_t>(n) > TextBook::kMaxTableBytes - out.size()) ok = false;
    else out.append(chunk, static_cast<size_t>(n));
  }
  ::close(fd);
  return ok;
}

// The rest of the text-mode rules, on the decoded text: a carriage return directly before a
// line feed is dropped, and the text ends in a line feed.
void DropCarriageReturnsBeforeLineFeeds(std::string& text) {
  size_t w = text.find("\r\n");
  if (w != std::string::npos) {
    for (size_t r = w; r < text.size(); ++r) {
      if (text[r] == '\r' && r + 1 < text.size() && text[r + 1] == '\n') continue;
      text[w++] = text[r];
    }
    text.resize(w);
  }
  if (!text.empty() && text.back() != '\n') text.push_back('\n');
}

}  // namespace

bool TextBook::Load(const std::string& filename, TextDelimiter delimiter) {
  encoding_ = TextEncoding::kUtf8;
  delimiter_ = TextDelimiter::kComma;
  std::string text;
  TextEncoding encoding = TextEncoding::kUtf8;
  if (!ReadWholeFile(filename, text) || !DecodeToUtf8(text, encoding)) {
    worksheet_.Assign({}, {}, ',');
    return false;
  }
  DropCarriageReturnsBeforeLineFeeds(text);
  if (delimiter == TextDelimiter::kDetect) delimiter = DetectDelimiter(text);
  // Rows are counted in 32 bits; records past that many can never be addressed and are dropped.
  const auto max_rows = static_cast<size_t>(std::numeric_limits<int32_t>::max());
  std::vector<uint32_t> starts = RecordStarts(text, static_cast<char>(delimiter), max_rows);
  worksheet_.Assign(std::move(text), std::move(starts), static_cast<char>(delimiter));
  encoding_ = encoding;
  delimiter_ = delimiter;
  return true;
}
