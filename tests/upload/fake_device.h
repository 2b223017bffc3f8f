// A stand-in for the QB-7 on loopback: listens on 127.0.0.1 at a free port, accepts each
// connection in turn and records the bytes it receives. Shared by the upload and CLI tests;
// it never reaches beyond this machine.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "upload/device_endpoint.h"

namespace fake {

// How the device treats each connection.
enum class Manner {
  Listen,     // read until the client closes, never answer
  Answer,     // read until the declared body has arrived, answer 200, then read on until close
  HangUp,     // close at once, before reading anything
};

// The declared body length of an HTTP request in `bytes`; -1 while the header block is incomplete.
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

class Device {
 public:
  explicit Device(Manner manner = Manner::Listen, int connections = 1) : manner_(manner) {
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;  // the system picks a free port
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener_, 8);
    socklen_t size = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    received_.resize(static_cast<size_t>(connections));
    thread_ = std::thread([this] { Serve(); });
  }
  Device(const Device&) = delete;
  Device& operator=(const Device&) = delete;
  ~Device() {
    if (thread_.joinable()) thread_.join();
    close(listener_);
  }

  int port() const { return port_; }
  DeviceEndpoint endpoint() const { return {"127.0.0.1", port_, "/save"}; }

  // Waits until every expected connection has ended; the bytes each one delivered.
  const std::vector<std::string>& Received() {
    if (thread_.joinable()) thread_.join();
    return received_;
  }

 private:
  // Gives up on a silent peer after this long, so a broken client fails the test, not hangs it.
  static constexpr int kPatienceMs = 20'000;

  static bool Readable(int fd) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, kPatienceMs) == 1;
  }

  void Serve() {
    for (std::string& bytes : received_) {
      if (!Readable(listener_)) return;
      const int fd = accept(listener_, nullptr, nullptr);
      if (fd < 0) return;
      if (manner_ == Manner::HangUp) {
        close(fd);
        continue;
      }
      bool answered = false;
      char buffer[1 << 16];
      while (Readable(fd)) {
        const ssize_t got = recv(fd, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        bytes.append(buffer, static_cast<size_t>(got));
        const long end = DeclaredBodyEnd(bytes);
        if (manner_ == Manner::Answer && !answered && end >= 0 && bytes.size() >= static_cast<size_t>(end)) {
          static const char kReply[] = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nOK";
          send(fd, kReply, sizeof kReply - 1, MSG_NOSIGNAL);
          answered = true;
        }
      }
      close(fd);
    }
  }

  Manner manner_;
  int listener_ = -1;
  int port_ = 0;
  std::vector<std::string> received_;
  std::thread thread_;
};

// A port on which nothing listens: bound once to find it free, then released.
inline int UnusedPort() {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t size = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  close(fd);
  return ntohs(address.sin_port);
}

}  // namespace fake
