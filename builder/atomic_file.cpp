#include "builder/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

constexpr size_t kBlock = 1 << 16;

// The folder part of `path` ("." when it names no folder).
std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// A symlink at the target is followed, so the document replaces the file it points to.
std::string ResolveTarget(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char* real = ::realpath(path.c_str(), nullptr);
  if (real == nullptr) return path;
  std::string resolved(real);
  std::free(real);
  return resolved;
}

}  // namespace

AtomicFile::~AtomicFile() { Discard(); }

bool AtomicFile::Open(const std::string& path) {
  if (path.empty() || path.back() == '/') return false;
  target_ = ResolveTarget(path);

  struct stat st {};
  const bool exists = ::stat(target_.c_str(), &st) == 0;
  if (exists && (!S_ISREG(st.st_mode) || ::access(target_.c_str(), W_OK) != 0)) return false;

  const std::string folder = FolderOf(target_);
  std::string base = target_.substr(target_.rfind('/') + 1);
  if (base.size() > 100) base.resize(100);  // keeps the temporary name within NAME_MAX
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    temp_ = folder + "/." + base + "." + std::to_string(::getpid()) + "." +
            std::to_string(counter++) + ".tmp";
    fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) {
    temp_.clear();
    return false;
  }
  // A rewritten document keeps the permissions of the one it replaces.
  if (exists) (void)::fchmod(fd_, st.st_mode & 07777);
  return true;
}

bool AtomicFile::Write(std::string_view bytes) {
  if (fd_ < 0 || failed_) return false;
  buffer_.append(bytes);
  return buffer_.size() < kBlock || Flush();
}

bool AtomicFile::Flush() {
  size_t done = 0;
  while (done < buffer_.size()) {
    const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      failed_ = true;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  buffer_.clear();
  return true;
}

bool AtomicFile::Commit() {
  if (fd_ < 0 || failed_ || !Flush() || ::fsync(fd_) != 0) {
    Discard();
    return false;
  }
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 || ::rename(temp_.c_str(), target_.c_str()) != 0) {
    ::unlink(temp_.c_str());
    temp_.clear();
    return false;
  }
  temp_.clear();
  return true;
}

void AtomicFile::Discard() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!temp_.empty()) {
    ::unlink(temp_.c_str());
    temp_.clear();
  }
  buffer_.clear();
}
