#include "upload/tcp_client.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>

namespace {

int SetNonBlocking(int fd, bool on) {
  const int flags = fcntl(fd, F_GETFL);
  if (flags < 0) return errno;
  const int wanted = on ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
  if (wanted != flags && fcntl(fd, F_SETFL, wanted) < 0) return errno;
  return 0;
}

// Waits for the pending connect to finish; its outcome, 0 or an errno.
int AwaitConnect(int fd, std::chrono::milliseconds limit) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + limit;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return ETIMEDOUT;
    pollfd p{fd, POLLOUT, 0};
    const int ready = poll(&p, 1, static_cast<int>(left.count()));
    if (ready < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (ready == 0) return ETIMEDOUT;
    int error = 0;
    socklen_t size = sizeof error;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) < 0) return errno;
    return error;
  }
}

}  // namespace

int ConnectWithin(int fd, const sockaddr_in& address, std::chrono::milliseconds limit) {
  // Linux alone would wait about two minutes for an absent device, with the window frozen.
  if (const int error = SetNonBlocking(fd, true)) return error;
  int result = 0;
  if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) < 0) {
    result = (errno == EINPROGRESS || errno == EINTR) ? AwaitConnect(fd, limit) : errno;
  }
  if (const int error = SetNonBlocking(fd, false); error != 0 && result == 0) result = error;
  return result;
}

int SendAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (sent == 0) return EPIPE;  // nothing moves: treat as a closed connection, not a spin
    bytes.remove_prefix(static_cast<size_t>(sent));
  }
  return 0;
}
