// The socket steps of the form POST that need more than one system call, each with a time
// limit: a connect, a send that delivers every byte, and a bounded read of the answer.
// The caller owns the socket. Each returns 0 or the errno of the failure: ETIMEDOUT when
// its limit passes, ECANCELED when `stop` is asked for (the window is closing).
#pragma once

#include <netinet/in.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <stop_token>
#include <string>
#include <string_view>

// Connects `fd` (a blocking IPv4 stream socket) to `address` within `limit`. The socket is
// blocking again afterwards.
int ConnectWithin(int fd, const sockaddr_in& address, std::chrono::milliseconds limit,
                  std::stop_token stop = {});

// Sends all of `bytes`, continuing short sends and retrying interruptions; ETIMEDOUT once the
// peer has taken nothing for `stall_limit`. A peer that has closed gives EPIPE or ECONNRESET,
// never SIGPIPE.
int SendAll(int fd, std::string_view bytes, std::chrono::milliseconds stall_limit,
            std::stop_token stop = {});

// Appends what the peer sends to `bytes` until `settled(bytes)`, the peer closes, `max_bytes`
// are held or `limit` has passed. 0 for the first three.
int ReceiveWithin(int fd, std::string& bytes, std::size_t max_bytes, std::chrono::milliseconds limit,
                  const std::function<bool(std::string_view)>& settled, std::stop_token stop = {});
