// The form POST against a fake device on loopback: the bytes that arrive, the console lines,
// the outcome each kind of device gives, and that none of them can hold the post past its limits.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "tests/support/fake_device.h"
#include "tests/support/recording_console.h"
#include "upload/form_post.h"
#include "upload/form_request.h"

namespace {

using testing_support::RecordingConsole;
using ConsoleLine = testing_support::Line;

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

// Beyond a limit, what a loaded machine may add; a post that ignored its limit would wait for
// the fake device's patience (20 s) or for ever.
constexpr milliseconds kSlack(5000);

const ConsoleLine kInitializing{"Initializing connection to QB-7!!", BLUE, false};
const ConsoleLine kValidating{"Validating connection to QB-7?", BLUE, false};
const ConsoleLine kConnecting{"Connecting to QB-7!!", BLUE, false};
const ConsoleLine kSending{"Sending JSON file to QB-7!!", BLUE, false};
const ConsoleLine kClosing{"Closing connection to QB-7!!", BLUE, false};
const ConsoleLine kAnswered200{"QB-7 answered: HTTP/1.1 200 OK", BLUE, false};
const ConsoleLine kUnconfirmed{"QB-7 did not confirm the upload", BLUE, false};

// The five steps of a request that went out, then what was made of the answer.
std::vector<ConsoleLine> Sent(const ConsoleLine& answer) {
  return {kInitializing, kValidating, kConnecting, kSending, kClosing, answer};
}

std::vector<ConsoleLine> Failure(const char* message, const std::string& host, int error) {
  std::vector<ConsoleLine> lines{kInitializing, kValidating, kConnecting};
  if (std::strcmp(message, "Failed to send JSON file to QB-7!!") == 0) lines.push_back(kSending);
  lines.insert(lines.end(), {{message, RED, false}, {host, BLACK, false}, {std::strerror(error), RED, false}});
  return lines;
}

std::string Document(size_t size) {
  std::string text = R"({"setlist":[)";
  while (text.size() < size) text += R"({"name":"Rock & Roll","patch":7,"notes":"+5% louder"},)";
  text.resize(size);
  return text;
}

TEST(FormPost, TheRequestArrivesAsBuilt) {
  fake::Device device(fake::Answers(200));
  RecordingConsole console;
  const FormFields fields{{"jstring", Document(300)}, {"tblval", "Tour.live"}};
  EXPECT_FALSE(postWebPage("127.0.0.1", device.port(), "/save", fields, console, {.answer = milliseconds(2000)}));
  EXPECT_EQ(console.lines, Sent(kAnswered200));
  EXPECT_EQ(device.Received().at(0), BuildRequest("127.0.0.1", "/save", BuildFormBody(fields)));
  EXPECT_EQ(fake::FormField(device.Received()[0], "jstring"), Document(300));
  EXPECT_EQ(fake::FormField(device.Received()[0], "tblval"), "Tour.live");
}

TEST(FormPost, OnlyTheLowSixteenBitsOfThePortCount) {
  fake::Device device(fake::Answers(200));
  RecordingConsole console;
  EXPECT_FALSE(postWebPage("127.0.0.1", device.port() + 65536, "/save", {{"a", "1"}, {"b", "2"}}, console));
  EXPECT_TRUE(device.Received().at(0).ends_with("\r\nContent-Length: 7\r\nOrigin: http://127.0.0.1\r\n"
                                                "Connection: keep-alive\r\nReferer: http://127.0.0.1\r\n"
                                                "\r\na=1&b=2\r\n\r\n"));
}

TEST(FormPost, AMegabyteDocumentArrivesWhole) {
  fake::Device device(fake::Answers(200));
  RecordingConsole console;
  const std::string document = Document(1 << 20);
  const FormFields fields{{"jstring", document}, {"tblval", "Big"}};
  EXPECT_FALSE(postWebPage("127.0.0.1", device.port(), "/save", fields, console, {.answer = milliseconds(2000)}));
  EXPECT_EQ(console.lines, Sent(kAnswered200));
  const std::string& got = device.Received().at(0);
  EXPECT_EQ(got.size(), BuildRequest("127.0.0.1", "/save", BuildFormBody(fields)).size());
  EXPECT_TRUE(got == BuildRequest("127.0.0.1", "/save", BuildFormBody(fields)));
  EXPECT_TRUE(fake::FormField(got, "jstring") == document);
}

// Whatever the device makes of the request, it went out whole; its answer decides the outcome.
TEST(FormPost, TheDevicesAnswerDecidesTheOutcome) {
  const milliseconds limit(400);
  struct Case {
    const char* name;
    fake::Behaviour device;
    bool failed;
    ConsoleLine last;
  };
  const Case cases[] = {
      {"200", fake::Answers(200), false, kAnswered200},
      {"500", fake::Answers(500), true, {"QB-7 answered: HTTP/1.1 500 Internal Server Error", RED, false}},
      {"404", fake::Answers(404), true, {"QB-7 answered: HTTP/1.1 404 Not Found", RED, false}},
      {"silent", {fake::Manner::Listen}, false, kUnconfirmed},
      {"hangs up at once", {fake::Manner::HangUp}, false, kUnconfirmed},
      {"resets after the request", {fake::Manner::ResetMidSend, "", "", milliseconds(0), 1}, false, kUnconfirmed},
      {"not http", {fake::Manner::Answer, "Thanks!\r\n"}, false, kUnconfirmed},
      {"head cut short", {fake::Manner::Answer, "HTTP/1.1 200 OK\r\n"}, false, kAnswered200},
      // Replies that never end: the read cap or the limit ends them.
      {"endless body",
       {fake::Manner::EndlessReply, "HTTP/1.1 200 OK\r\nContent-Length: 999999999\r\n\r\n", std::string(4096, 'x')},
       false, kAnswered200},
      {"endless head", {fake::Manner::EndlessReply, "HTTP/1.1 201 Created\r\n", "X-Pad: y\r\n"}, false,
       {"QB-7 answered: HTTP/1.1 201 Created", BLUE, false}},
      {"endless status line", {fake::Manner::EndlessReply, "HTTP/1.1 500 ", std::string(4096, 'E')}, false,
       kUnconfirmed},
      {"dripping status line", {fake::Manner::EndlessReply, "HTTP/1.1 500 ", "E", milliseconds(20)}, false,
       kUnconfirmed},
      {"dripping head", {fake::Manner::EndlessReply, "HTTP/1.1 404 Not Found\r\n", "X", milliseconds(20)}, true,
       {"QB-7 answered: HTTP/1.1 404 Not Found", RED, false}},
  };
  for (const Case& c : cases) {
    fake::Device device(c.device);
    RecordingConsole console;
    const auto start = Clock::now();
    const FormFields fields{{"jstring", Document(5000)}};
    EXPECT_EQ(postWebPage("127.0.0.1", device.port(), "/save", fields, console, {.answer = limit}), c.failed) << c.name;
    EXPECT_LT(Clock::now() - start, limit + kSlack) << c.name;
    EXPECT_EQ(console.lines, Sent(c.last)) << c.name;
    if (c.device.manner == fake::Manner::Answer || c.device.manner == fake::Manner::Listen) {
      EXPECT_EQ(fake::FormField(device.Received().at(0), "jstring"), Document(5000)) << c.name;
    }
  }
}

// Notes when the send begins, so the time taken to build a large request is not counted.
struct SendTimingConsole : RecordingConsole {
  void string_to_textbox(const std::string& str_in, COLORBOX box_text_color, bool clear) override {
    if (str_in == kSending.text) sending = Clock::now();
    RecordingConsole::string_to_textbox(str_in, box_text_color, clear);
  }
  Clock::time_point sending;
};

TEST(FormPost, ADeviceThatStopsReadingFailsTheSendAfterTheLimit) {
  fake::Device device(fake::Manner::NeverRead);
  SendTimingConsole console;
  const milliseconds limit(400);
  const FormFields fields{{"jstring", Document(20 << 20)}};
  EXPECT_TRUE(postWebPage("127.0.0.1", device.port(), "/save", fields, console, {.answer = limit}));
  const auto took = Clock::now() - console.sending;
  EXPECT_GE(took, limit);
  EXPECT_LT(took, limit + kSlack);
  EXPECT_EQ(console.lines, Failure("Failed to send JSON file to QB-7!!", "127.0.0.1", ETIMEDOUT));
}

TEST(FormPost, ADeviceThatResetsMidSendFailsToSendWithoutKillingUs) {
  fake::Device device(fake::Manner::ResetMidSend);
  RecordingConsole console;
  EXPECT_TRUE(postWebPage("127.0.0.1", device.port(), "/save", {{"jstring", Document(20 << 20)}}, console));
  EXPECT_EQ(console.lines, Failure("Failed to send JSON file to QB-7!!", "127.0.0.1", ECONNRESET));
}

TEST(FormPost, ADeviceThatHangsUpBeforeALargeRequestFailsToSend) {
  // Far more than the socket buffers hold, so the send is still going when the reset comes.
  fake::Device device(fake::Manner::HangUp);
  RecordingConsole console;
  EXPECT_TRUE(postWebPage("127.0.0.1", device.port(), "/save", {{"jstring", Document(32 << 20)}}, console));
  ASSERT_EQ(console.lines.size(), 7u);
  EXPECT_EQ(console.lines[3], kSending);
  EXPECT_EQ(console.lines[4], (ConsoleLine{"Failed to send JSON file to QB-7!!", RED, false}));
  EXPECT_EQ(console.lines[5], (ConsoleLine{"127.0.0.1", BLACK, false}));
  EXPECT_TRUE(console.lines[6] == (ConsoleLine{std::strerror(ECONNRESET), RED, false}) ||
              console.lines[6] == (ConsoleLine{std::strerror(EPIPE), RED, false}))
      << console.lines[6];
}

TEST(FormPost, NothingListeningFailsToConnect) {
  RecordingConsole console;
  EXPECT_TRUE(postWebPage("127.0.0.1", fake::UnusedPort(), "/save", {{"a", "1"}}, console));
  EXPECT_EQ(console.lines, Failure("Failed to connect to QB-7!!", "127.0.0.1", ECONNREFUSED));
}

TEST(FormPost, AnAddressThatDoesNotParseFailsToConnect) {
  for (const char* host : {"not.an.address", "", "255.255.255.255"}) {
    RecordingConsole console;
    EXPECT_TRUE(postWebPage(host, 9, "/save", {{"a", "1"}}, console)) << host;
    EXPECT_EQ(console.lines, Failure("Failed to connect to QB-7!!", host, ENETUNREACH)) << host;
  }
}

TEST(FormPost, NoSocketToBeHadFailsAsInvalid) {
  // Lower the descriptor limit to the lowest free descriptor, so the next socket() cannot be made.
  rlimit previous{};
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &previous), 0);
  const int lowest_free = dup(0);
  ASSERT_GE(lowest_free, 0);
  close(lowest_free);
  rlimit tight = previous;
  tight.rlim_cur = static_cast<rlim_t>(lowest_free);
#ifdef TALLYFORM_SANITIZED
  GTEST_SKIP() << "the sanitizers' own checks need free descriptors";
#endif
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &tight), 0);
  RecordingConsole console;
  const bool failed = postWebPage("127.0.0.1", 9, "/save", {{"a", "1"}}, console);
  setrlimit(RLIMIT_NOFILE, &previous);

  EXPECT_TRUE(failed);
  const std::vector<ConsoleLine> expected{kInitializing, kValidating,
                                          {"Connection is invalid to QB-7?", RED, false},
                                          {"127.0.0.1", BLACK, false},
                                          {std::strerror(EMFILE), RED, false}};
  EXPECT_EQ(console.lines, expected);
}

TEST(FormPost, AnUnansweredConnectFailsAtItsLimit) {
  fake::Device device(fake::Manner::NeverAccept);
  ASSERT_TRUE(device.full());
  RecordingConsole console;
  const milliseconds limit(500);
  const auto start = Clock::now();
  EXPECT_TRUE(postWebPage("127.0.0.1", device.port(), "/save", {{"a", "1"}}, console, {.connect = limit}));
  const auto took = Clock::now() - start;
  EXPECT_GE(took, limit);
  EXPECT_LT(took, limit + kSlack);
  EXPECT_EQ(console.lines, Failure("Failed to connect to QB-7!!", "127.0.0.1", ETIMEDOUT));
}

}  // namespace
