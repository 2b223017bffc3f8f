#include "upload/tcp_client.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>

namespace {

using Clock = std::chrono::steady_clock;

// How often a wait looks whether it has been asked to stop.
constexpr std::chrono::milliseconds kStopCheckInterval{50};

int SetNonBlocking(int fd, bool on) {
  const int flags = fcntl(fd, F_GETFL);
  if (flags < 0) return errno;
  const int wanted = on ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
  if (wanted != flags && fcntl(fd, F_SETFL, wanted) < 0) return errno;
  return 0;
}

// Waits until `fd` reports `events` (or an error or hang-up, which the next call will return).
int WaitFor(int fd, short events, Clock::time_point deadline, const std::stop_token& stop) {
  for (;;) {
    if (stop.stop_requested()) return ECANCELED;
    auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return ETIMEDOUT;
    if (stop.stop_possible()) left = std::min(left, kStopCheckInterval);
    pollfd p{fd, events, 0};
    const int ready = poll(&p, 1, static_cast<int>(left.count()));
    if (ready > 0) return 0;
    if (ready < 0 && errno != EINTR) return errno;
  }
}

}  // namespace

int ConnectWithin(int fd, const sockaddr_in& address, std::chrono::milliseconds limit, std::stop_token stop) {
  if (const int error = SetNonBlocking(fd, true)) return error;
  int result = 0;
  if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) < 0) {
    result = errno;
    if (result == EINPROGRESS || result == EINTR) {
      result = WaitFor(fd, POLLOUT, Clock::now() + limit, stop);
      socklen_t size = sizeof result;
      if (result == 0 && getsockopt(fd, SOL_SOCKET, SO_ERROR, &result, &size) < 0) result = errno;
    }
  }
  if (const int error = SetNonBlocking(fd, false); error != 0 && result == 0) result = error;
  return result;
}

int SendAll(int fd, std::string_view bytes, std::chrono::milliseconds stall_limit, std::stop_token stop) {
  auto deadline = Clock::now() + stall_limit;
  while (!bytes.empty()) {
    if (stop.stop_requested()) return ECANCELED;
    const ssize_t sent = send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent > 0) {
      bytes.remove_prefix(static_cast<size_t>(sent));
      deadline = Clock::now() + stall_limit;  // the limit is on a stall, not on the whole send
      continue;
    }
    if (sent == 0) return EPIPE;  // nothing moves: treat as a closed connection, not a spin
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) return errno;
    if (const int error = WaitFor(fd, POLLOUT, deadline, stop)) return error;
  }
  return 0;
}

int ReceiveWithin(int fd, std::string& bytes, std::size_t max_bytes, std::chrono::milliseconds limit,
                  const std::function<bool(std::string_view)>& settled, std::stop_token stop) {
  const auto deadline = Clock::now() + limit;
  char buffer[4096];
  while (bytes.size() < max_bytes && !settled(bytes)) {
    const size_t room = std::min(sizeof buffer, max_bytes - bytes.size());
    const ssize_t got = recv(fd, buffer, room, MSG_DONTWAIT);
    if (got > 0) {
      bytes.append(buffer, static_cast<size_t>(got));
      continue;
    }
    if (got == 0) return 0;  // the peer closed
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) return errno;
    if (const int error = WaitFor(fd, POLLIN, deadline, stop)) return error;
  }
  return 0;
}
