// The two blocking socket steps of the form POST that need more than one system call:
// a connect that gives up after a time limit, and a send that delivers every byte.
// The caller owns the socket; both return 0 or the errno of the failure.
#pragma once

#include <netinet/in.h>

#include <chrono>
#include <string_view>

// Connects `fd` (a blocking IPv4 stream socket) to `address`; ETIMEDOUT when the limit passes.
// The socket is blocking again afterwards.
int ConnectWithin(int fd, const sockaddr_in& address, std::chrono::milliseconds limit);

// Sends all of `bytes`, continuing short sends and retrying interruptions. A peer that has
// closed gives EPIPE or ECONNRESET, never SIGPIPE.
int SendAll(int fd, std::string_view bytes);
