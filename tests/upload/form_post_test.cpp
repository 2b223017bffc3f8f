// The form POST against a fake device on loopback: the bytes that arrive and the console lines.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "tests/upload/fake_device.h"
#include "tests/upload/full_listener.h"
#include "tests/support/recording_console.h"
#include "upload/form_post.h"
#include "upload/form_request.h"

namespace {

using testing_support::RecordingConsole;
using ConsoleLine = testing_support::Line;

const ConsoleLine kInitializing{"Initializing connection to QB-7!!", BLUE, false};
const ConsoleLine kValidating{"Validating connection to QB-7?", BLUE, false};
const ConsoleLine kConnecting{"Connecting to QB-7!!", BLUE, false};
const ConsoleLine kSending{"Sending JSON file to QB-7!!", BLUE, false};
const ConsoleLine kClosing{"Closing connection to QB-7!!", BLUE, false};

const std::vector<ConsoleLine> kSent{kInitializing, kValidating, kConnecting, kSending, kClosing};

std::vector<ConsoleLine> ConnectFailure(const std::string& host, int error) {
  return {kInitializing, kValidating, kConnecting,
          {"Failed to connect to QB-7!!", RED, false},
          {host, BLACK, false},
          {std::strerror(error), RED, false}};
}

std::string Document(size_t size) {
  std::string text = R"({"setlist":[)";
  while (text.size() < size) text += R"({"name":"Rock & Roll","patch":7,"notes":"+5% louder"},)";
  text.resize(size);
  return text;
}

TEST(FormPost, TheRequestArrivesAsBuilt) {
  fake::Device device;
  RecordingConsole console;
  const FormFields fields{{"jstring", Document(300)}, {"tblval", "Tour.live"}};
  EXPECT_FALSE(postWebPage("127.0.0.1", device.port(), "/save", fields, console));
  EXPECT_EQ(console.lines, kSent);
  EXPECT_EQ(device.Received().at(0), BuildRequest("127.0.0.1", "/save", BuildFormBody(fields)));
  EXPECT_EQ(fake::FormField(device.Received()[0], "jstring"), Document(300));
  EXPECT_EQ(fake::FormField(device.Received()[0], "tblval"), "Tour.live");
}

TEST(FormPost, OnlyTheLowSixteenBitsOfThePortCount) {
  fake::Device device;
  RecordingConsole console;
  EXPECT_FALSE(postWebPage("127.0.0.1", device.port() + 65536, "/save", {{"a", "1"}, {"b", "2"}}, console));
  EXPECT_TRUE(device.Received().at(0).ends_with("\r\nContent-Length: 7\r\nOrigin: http://127.0.0.1\r\n"
                                                "Connection: keep-alive\r\nReferer: http://127.0.0.1\r\n"
                                                "\r\na=1&b=2\r\n\r\n"));
}

TEST(FormPost, AMegabyteDocumentArrivesWhole) {
  fake::Device device;
  RecordingConsole console;
  const std::string document = Document(1 << 20);
  const FormFields fields{{"jstring", document}, {"tblval", "Big"}};
  EXPECT_FALSE(postWebPage("127.0.0.1", device.port(), "/save", fields, console));
  EXPECT_EQ(console.lines, kSent);
  const std::string& got = device.Received().at(0);
  EXPECT_EQ(got.size(), BuildRequest("127.0.0.1", "/save", BuildFormBody(fields)).size());
  EXPECT_TRUE(got == BuildRequest("127.0.0.1", "/save", BuildFormBody(fields)));
  EXPECT_TRUE(fake::FormField(got, "jstring") == document);
}

TEST(FormPost, AnswerOrSilenceMakesNoDifference) {
  for (const fake::Manner manner : {fake::Manner::Answer, fake::Manner::Listen}) {
    fake::Device device(manner);
    RecordingConsole console;
    const FormFields fields{{"jstring", Document(5000)}, {"tblval", "Tour"}};
    EXPECT_FALSE(postWebPage("127.0.0.1", device.port(), "/save", fields, console));
    EXPECT_EQ(console.lines, kSent);
    EXPECT_EQ(fake::FormField(device.Received().at(0), "jstring"), Document(5000));
  }
}

TEST(FormPost, NothingListeningFailsToConnect) {
  RecordingConsole console;
  EXPECT_TRUE(postWebPage("127.0.0.1", fake::UnusedPort(), "/save", {{"a", "1"}}, console));
  EXPECT_EQ(console.lines, ConnectFailure("127.0.0.1", ECONNREFUSED));
}

TEST(FormPost, AnAddressThatDoesNotParseFailsToConnect) {
  for (const char* host : {"not.an.address", "", "255.255.255.255"}) {
    RecordingConsole console;
    EXPECT_TRUE(postWebPage(host, 9, "/save", {{"a", "1"}}, console)) << host;
    EXPECT_EQ(console.lines, ConnectFailure(host, ENETUNREACH)) << host;
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

TEST(FormPost, ADeviceThatHangsUpMidSendFailsToSendWithoutKillingUs) {
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

TEST(FormPost, ADeviceThatHangsUpAtOnceOnASmallRequestDoesNoHarm) {
  fake::Device device(fake::Manner::HangUp, 3);
  for (int i = 0; i < 3; ++i) {
    RecordingConsole console;
    const bool failed = postWebPage("127.0.0.1", device.port(), "/save", {{"a", "1"}}, console);
    // Whether the small request left before the reset is a race; either ending is whole.
    if (failed) {
      EXPECT_EQ(console.lines.at(4).text, "Failed to send JSON file to QB-7!!");
    } else {
      EXPECT_EQ(console.lines, kSent);
    }
  }
}

TEST(FormPost, AnUnansweredConnectFailsAfterTenSeconds) {
  FullListener listener;
  ASSERT_TRUE(listener.Fill(std::chrono::milliseconds(200)));
  RecordingConsole console;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(postWebPage("127.0.0.1", listener.port(), "/save", {{"a", "1"}}, console));
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, std::chrono::milliseconds(9900));
  EXPECT_LT(took, std::chrono::seconds(15));
  EXPECT_EQ(console.lines, ConnectFailure("127.0.0.1", ETIMEDOUT));
}

}  // namespace
