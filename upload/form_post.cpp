#include "upload/form_post.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>

#include "upload/form_request.h"
#include "upload/tcp_client.h"

namespace {

constexpr std::chrono::milliseconds kConnectLimit{10'000};

// A failure path: its message, the address concerned, then the system's text for `error`.
bool Fail(Console& console, const char* message, const std::string& host, int error) {
  console.string_to_textbox(message, RED, false);
  console.string_to_textbox(host, BLACK, false);
  errno = error;
  GetLastErrorAsString(console, true);
  return true;
}

}  // namespace

bool postWebPage(std::string Host, int Port, std::string Path, FormFields vPostReqs, Console& console) {
  console.string_to_textbox("Initializing connection to QB-7!!", BLUE, false);
  // POSIX sockets need no library start-up or clean-up, so the first failure path cannot occur.

  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = inet_addr(Host.c_str());
  address.sin_port = htons(static_cast<std::uint16_t>(Port));

  console.string_to_textbox("Validating connection to QB-7?", BLUE, false);
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return Fail(console, "Connection is invalid to QB-7?", Host, errno);

  console.string_to_textbox("Connecting to QB-7!!", BLUE, false);
  // An address text that does not parse comes out as the broadcast address, which a TCP
  // connect always refuses; refuse it here, the same way, without handing it to the network.
  const int connect_error = address.sin_addr.s_addr == INADDR_NONE
                                ? ENETUNREACH
                                : ConnectWithin(fd, address, kConnectLimit);
  if (connect_error != 0) {
    close(fd);
    return Fail(console, "Failed to connect to QB-7!!", Host, connect_error);
  }

  const std::string request = BuildRequest(Host, Path, BuildFormBody(vPostReqs));

  console.string_to_textbox("Sending JSON file to QB-7!!", BLUE, false);
  if (const int send_error = SendAll(fd, request)) {
    close(fd);
    return Fail(console, "Failed to send JSON file to QB-7!!", Host, send_error);
  }

  console.string_to_textbox("Closing connection to QB-7!!", BLUE, false);
  close(fd);  // no reply is read
  return false;
}
