#include "zip/locked_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace Zip {

bool LockedFile::Open(const std::string& path) {
  Close();
  if (path.empty() || path.find('\0') != std::string::npos) return false;
  // O_NONBLOCK keeps a FIFO from stalling the open; non-regular files are refused below.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat st;
  // The lock belongs to this open file description, so a second opener conflicts even
  // inside this process.
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

void LockedFile::Close() {
  if (fd_ >= 0) ::close(fd_);  // closing the descriptor drops the lock
  fd_ = -1;
}

bool LockedFile::ReadAll(uint64_t maxBytes, std::vector<uint8_t>& out) const {
  out.clear();
  struct stat st;
  if (fd_ < 0 || ::fstat(fd_, &st) != 0 || st.st_size < 0) return false;
  const auto size = static_cast<uint64_t>(st.st_size);
  if (size > maxBytes) return false;
  out.resize(size);
  uint64_t done = 0;
  while (done < size) {
    const ssize_t got = ::pread(fd_, out.data() + done, size - done, static_cast<off_t>(done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {  // error, or the file shrank under us
      out.clear();
      return false;
    }
    done += static_cast<uint64_t>(got);
  }
  return true;
}

}  // namespace Zip
