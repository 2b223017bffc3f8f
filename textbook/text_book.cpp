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
  if (ok && S_ISREG(st.st_mode) && st.st_size > 0) out.reserve(static_cast<size_t>(st.st_size));
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

// Applies the text-mode rules in place: a UTF-8 byte-order mark at the very start is skipped, a
// Ctrl-Z ends the input, a carriage return directly before a line feed is dropped. Then makes
// sure every line ends in a line feed and returns the start of each line.
std::vector<uint32_t> ToTextModeLines(std::string& text) {
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  const size_t ctrl_z = text.find('\x1A');
  if (ctrl_z != std::string::npos) text.resize(ctrl_z);

  size_t w = 0;
  for (size_t r = 0; r < text.size(); ++r) {
    if (text[r] == '\r' && r + 1 < text.size() && text[r + 1] == '\n') continue;
    text[w++] = text[r];
  }
  text.resize(w);
  if (!text.empty() && text.back() != '\n') text.push_back('\n');
  text.shrink_to_fit();

  // Rows are counted in 32 bits; lines past that many can never be addressed and are dropped.
  // The table is at most kMaxTableBytes long, so a line's start fits in 32 bits as well.
  const size_t max_rows = static_cast<size_t>(std::numeric_limits<int32_t>::max());
  std::vector<uint32_t> starts;
  starts.reserve(std::min<size_t>(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')), max_rows));
  size_t begin = 0;
  for (size_t lf = text.find('\n'); lf != std::string::npos && starts.size() < max_rows;
       lf = text.find('\n', begin)) {
    starts.push_back(static_cast<uint32_t>(begin));
    begin = lf + 1;
  }
  return starts;
}

}  // namespace

bool TextBook::Load(const std::string& filename) {
  std::string text;
  if (!ReadWholeFile(filename, text)) {
    worksheet_.Assign({}, {});
    return false;
  }
  std::vector<uint32_t> starts = ToTextModeLines(text);
  worksheet_.Assign(std::move(text), std::move(starts));
  return true;
}
