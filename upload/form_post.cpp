#include "upload/form_post.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "upload/device_answer.h"
#include "upload/form_request.h"
#include "upload/tcp_client.h"

namespace {

// A failure path: its message, the address concerned, then the system's text for `error`.
bool Fail(Console& console, const char* message, const std::string& host, int error) {
  console.string_to_textbox(message, RED, false);
  console.string_to_textbox(host, BLACK, false);
  errno = error;
  GetLastErrorAsString(console, true);
  return true;
}

// The device's answer, once the connection is closed. Silence, a hang-up or bytes that are no
// HTTP answer do not undo a request that went out whole: the upload stands, unconfirmed.
bool ReportAnswer(Console& console, const std::string& answer) {
  const std::optional<AnswerStatus> status = FinalAnswerStatus(answer);
  if (!status) {
    console.string_to_textbox("QB-7 did not confirm the upload", BLUE, false);
    return false;
  }
  const bool accepted = status->code >= 200 && status->code <= 299;
  console.string_to_textbox("QB-7 answered: " + status->line, accepted ? BLUE : RED, false);
  return !accepted;
}

}  // namespace

bool postWebPage(std::string Host, int Port, std::string Path, FormFields vPostReqs, Console& console,
                 UploadLimits limits, std::stop_token stop) {
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
                                : ConnectWithin(fd, address, limits.connect, stop);
  if (connect_error != 0) {
    close(fd);
    return Fail(console, "Failed to connect to QB-7!!", Host, connect_error);
  }

  const std::string request = BuildRequest(Host, Path, BuildFormBody(vPostReqs));

  console.string_to_textbox("Sending JSON file to QB-7!!", BLUE, false);
  if (const int send_error = SendAll(fd, request, limits.answer, stop)) {
    close(fd);
    return Fail(console, "Failed to send JSON file to QB-7!!", Host, send_error);
  }

  // A reset, the limit or the read cap only end the reading: what came by then is the answer.
  std::string answer;
  ReceiveWithin(fd, answer, kAnswerReadLimit, limits.answer, AnswerSettled, stop);

  console.string_to_textbox("Closing connection to QB-7!!", BLUE, false);
  close(fd);
  return ReportAnswer(console, answer);
}
