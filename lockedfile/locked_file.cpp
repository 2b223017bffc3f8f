#include "lockedfile/locked_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

LockedFile::~LockedFile() { Close(); }

LockedFile::LockedFile(LockedFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), size_(std::exchange(other.size_, 0)) {}

LockedFile& LockedFile::operator=(LockedFile&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

bool LockedFile::Open(const std::string& path) {
  Close();
  if (path.empty() || path.find('\0') != std::string::npos) return false;
  // O_NONBLOCK keeps a FIFO from stalling the open; it is refused below anyway. Read-only:
  // the tool never writes the document, so a write-protected workbook opens too.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat st;
  // The lock belongs to this open file description, so a second opener conflicts even
  // inside this process.
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0 ||
      ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  size_ = static_cast<uint64_t>(st.st_size);
  return true;
}

void LockedFile::Close() {
  if (fd_ >= 0) ::close(fd_);  // closing the last descriptor drops the lock
  fd_ = -1;
  size_ = 0;
}

bool LockedFile::ReadAt(uint64_t offset, void* dest, size_t count) const {
  if (fd_ < 0) return false;
  if (offset > size_ || count > size_ - offset) return false;
  auto* out = static_cast<char*>(dest);
  while (count > 0) {
    const ssize_t got = ::pread(fd_, out, count, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;  // error, or the file shrank under us
    out += got;
    offset += static_cast<uint64_t>(got);
    count -= static_cast<size_t>(got);
  }
  return true;
}

bool LockedFile::ReadAll(uint64_t maxBytes, std::vector<uint8_t>& out) const {
  out.clear();
  if (fd_ < 0 || size_ > maxBytes) return false;
  out.resize(static_cast<size_t>(size_));
  if (ReadAt(0, out.data(), out.size())) return true;
  out.clear();
  return false;
}
