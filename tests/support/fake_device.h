// A stand-in for the QB-7 on loopback, for every upload test: listens on 127.0.0.1 at a free
// port and treats each connection in turn as its Behaviour says (answer, stay silent, hang up,
// stall, reset, never stop answering), recording the bytes it receives. It never reaches
// beyond this machine, and every wait of its own ends when the test drops it.
#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "upload/device_endpoint.h"

namespace fake {

// How the device treats each connection.
enum class Manner {
  Listen,        // read until the client closes, never answer
  Answer,        // read until the declared body has arrived, send the reply, read on until close
  HangUp,        // close at once, before reading anything
  NeverRead,     // accept and hold the connection without reading a byte
  ResetMidSend,  // read `reset_after` bytes, then reset the connection (SO_LINGER 0, close)
  EndlessReply,  // read the request, send the reply, then the filler again and again
  NeverAccept,   // a full accept queue: connection attempts go unanswered
};

struct Behaviour {
  Manner manner = Manner::Listen;
  std::string reply{};                  // Answer, EndlessReply: sent once the request is in
  std::string filler{};                 // EndlessReply: sent after the reply until the client goes
  std::chrono::milliseconds pause{0};   // EndlessReply: between two fillers
  size_t reset_after = 64 * 1024;       // ResetMidSend
};

// An answer with `status` and a two-byte body.
inline Behaviour Answers(int status) {
  const char* reason = status == 200 ? "OK" : status == 404 ? "Not Found"
                     : status == 500 ? "Internal Server Error" : "Status";
  return {Manner::Answer, "HTTP/1.1 " + std::to_string(status) + " " + reason +
                              "\r\nContent-Type: text/plain\r\nContent-Length: 2\r\n\r\nOK"};
}

// The declared end of an HTTP request in `bytes`; -1 while the header block is incomplete.
inline long DeclaredBodyEnd(const std::string& bytes) {
  const auto header_end = bytes.find("\r\n\r\n");
  if (header_end == std::string::npos) return -1;
  const auto field = bytes.find("\r\nContent-Length: ");
  if (field == std::string::npos || field > header_end) return static_cast<long>(header_end + 4);
  return static_cast<long>(header_end + 4) + std::atol(bytes.c_str() + field + 18);
}

// The form field `name` of the request in `bytes`, decoded (%25, %26, %2B); empty when absent.
inline std::string FormField(const std::string& bytes, const std::string& name) {
  const auto header_end = bytes.find("\r\n\r\n");
  if (header_end == std::string::npos) return {};
  const long end = DeclaredBodyEnd(bytes);
  const std::string body = bytes.substr(header_end + 4, static_cast<size_t>(end) - header_end - 4);
  size_t start = 0;
  while (start <= body.size()) {
    size_t stop = body.find('&', start);
    if (stop == std::string::npos) stop = body.size();
    const std::string pair = body.substr(start, stop - start);
    if (pair.rfind(name + "=", 0) == 0) {
      std::string value;
      for (size_t i = name.size() + 1; i < pair.size(); ++i) {
        if (pair[i] == '%' && i + 2 < pair.size()) {
          value += static_cast<char>(std::strtol(pair.substr(i + 1, 2).c_str(), nullptr, 16));
          i += 2;
        } else {
          value += pair[i];
        }
      }
      return value;
    }
    start = stop + 1;
  }
  return {};
}

inline sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  return address;
}

class Device {
 public:
  explicit Device(Manner manner = Manner::Listen, int connections = 1)
      : Device(Behaviour{manner}, connections) {}
  explicit Device(Behaviour behaviour, int connections = 1) : behaviour_(std::move(behaviour)) {
    if (pipe2(wake_, O_CLOEXEC) != 0) wake_[0] = wake_[1] = -1;
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    address_ = Loopback(0);  // the system picks a free port
    bind(listener_, reinterpret_cast<sockaddr*>(&address_), sizeof address_);
    const bool never_accept = behaviour_.manner == Manner::NeverAccept;
    listen(listener_, never_accept ? 0 : 8);
    socklen_t size = sizeof address_;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address_), &size);
    if (never_accept) {
      FillAcceptQueue();
      return;
    }
    received_.resize(static_cast<size_t>(connections));
    thread_ = std::thread([this] { Serve(); });
  }
  Device(const Device&) = delete;
  Device& operator=(const Device&) = delete;
  ~Device() {
    if (wake_[1] >= 0) (void)!write(wake_[1], "x", 1);
    if (thread_.joinable()) thread_.join();
    for (const int fd : queued_) close(fd);
    close(listener_);
    close(wake_[0]);
    close(wake_[1]);
  }

  int port() const { return ntohs(address_.sin_port); }
  const sockaddr_in& address() const { return address_; }
  // Tests give the device short limits, so waiting for silence stays quick.
  DeviceEndpoint endpoint(std::chrono::milliseconds answer_limit = std::chrono::milliseconds(400)) const {
    return {"127.0.0.1", port(), "/save", {std::chrono::milliseconds(2000), answer_limit}};
  }
  // True when the accept queue of a NeverAccept device is full.
  bool full() const { return full_; }

  // Waits until every expected connection has ended; the bytes each one delivered.
  const std::vector<std::string>& Received() {
    if (thread_.joinable()) thread_.join();
    return received_;
  }

 private:
  // Gives up on a silent peer after this long, so a broken client fails the test, not hangs it.
  static constexpr int kPatienceMs = 20'000;

  // True when `fd` is ready for `events`; false when the test dropped the device or the peer
  // stayed silent too long.
  bool Wait(int fd, short events) {
    pollfd p[2] = {{fd, events, 0}, {wake_[0], POLLIN, 0}};
    if (poll(p, 2, kPatienceMs) <= 0) return false;
    return p[1].revents == 0 && p[0].revents != 0;
  }
  // Sleeps for `ms` or until the test drops the device; false for the latter.
  bool Pause(int ms) {
    pollfd p{wake_[0], POLLIN, 0};
    return poll(&p, 1, ms) == 0;
  }

  void FillAcceptQueue() {
    for (int i = 0; i < 8 && !full_; ++i) {
      const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
      queued_.push_back(fd);
      if (connect(fd, reinterpret_cast<const sockaddr*>(&address_), sizeof address_) == 0) continue;
      pollfd p{fd, POLLOUT, 0};
      full_ = errno == EINPROGRESS && poll(&p, 1, 200) == 0;
    }
  }

  // Reads into `bytes` until `enough` holds or the peer closes; false when it closed or went silent.
  template <typename Enough>
  bool ReadUntil(int fd, std::string& bytes, Enough enough) {
    char buffer[1 << 16];
    while (!enough()) {
      if (!Wait(fd, POLLIN)) return false;
      const ssize_t got = recv(fd, buffer, sizeof buffer, 0);
      if (got <= 0) return false;
      bytes.append(buffer, static_cast<size_t>(got));
    }
    return true;
  }

  bool RequestIn(const std::string& bytes) const {
    const long end = DeclaredBodyEnd(bytes);
    return end >= 0 && bytes.size() >= static_cast<size_t>(end);
  }

  void SendEndlessly(int fd) {
    if (!behaviour_.reply.empty()) send(fd, behaviour_.reply.data(), behaviour_.reply.size(), MSG_NOSIGNAL);
    while (Wait(fd, POLLOUT) && send(fd, behaviour_.filler.data(), behaviour_.filler.size(), MSG_NOSIGNAL) > 0 &&
           Pause(static_cast<int>(behaviour_.pause.count()))) {
    }
  }

  void Serve() {
    for (std::string& bytes : received_) {
      if (!Wait(listener_, POLLIN)) return;
      const int fd = accept(listener_, nullptr, nullptr);
      if (fd < 0) return;
      const auto never = [] { return false; };
      switch (behaviour_.manner) {
        case Manner::HangUp:
          break;
        case Manner::NeverRead:
          Pause(kPatienceMs);
          break;
        case Manner::ResetMidSend: {
          ReadUntil(fd, bytes, [&] { return bytes.size() >= behaviour_.reset_after; });
          const linger reset{1, 0};
          setsockopt(fd, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
          break;
        }
        case Manner::Answer:
          if (ReadUntil(fd, bytes, [&] { return RequestIn(bytes); })) {
            send(fd, behaviour_.reply.data(), behaviour_.reply.size(), MSG_NOSIGNAL);
            ReadUntil(fd, bytes, never);
          }
          break;
        case Manner::EndlessReply:
          if (ReadUntil(fd, bytes, [&] { return RequestIn(bytes); })) SendEndlessly(fd);
          break;
        case Manner::Listen:
        case Manner::NeverAccept:
          ReadUntil(fd, bytes, never);
          break;
      }
      close(fd);
    }
  }

  Behaviour behaviour_;
  int wake_[2] = {-1, -1};
  int listener_ = -1;
  sockaddr_in address_{};
  bool full_ = false;
  std::vector<int> queued_;
  std::vector<std::string> received_;
  std::thread thread_;
};

// A port on which nothing listens: bound once to find it free, then released.
inline int UnusedPort() {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address = Loopback(0);
  bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t size = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  close(fd);
  return ntohs(address.sin_port);
}

}  // namespace fake
