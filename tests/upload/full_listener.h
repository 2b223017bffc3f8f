// A loopback listener whose accept queue is full, so that new connection attempts go
// unanswered: how the connect time limit is tested without a real absent device.
#pragma once

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <vector>

#include "upload/tcp_client.h"

class FullListener {
 public:
  FullListener() {
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    address_.sin_family = AF_INET;
    address_.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd_, reinterpret_cast<sockaddr*>(&address_), sizeof address_);
    listen(fd_, 0);
    socklen_t size = sizeof address_;
    getsockname(fd_, reinterpret_cast<sockaddr*>(&address_), &size);
  }
  ~FullListener() {
    for (const int fd : queued_) close(fd);
    close(fd_);
  }
  // Fills the queue; true once a connection attempt goes unanswered for `wait`.
  bool Fill(std::chrono::milliseconds wait) {
    for (int i = 0; i < 8; ++i) {
      const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
      queued_.push_back(fd);
      if (ConnectWithin(fd, address_, wait) == ETIMEDOUT) return true;
    }
    return false;
  }
  int port() const { return ntohs(address_.sin_port); }
  const sockaddr_in& address() const { return address_; }

 private:
  int fd_;
  sockaddr_in address_{};
  std::vector<int> queued_;
};

