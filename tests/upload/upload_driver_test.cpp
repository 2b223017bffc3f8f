// The Upload press: the setlist name, the document read back, and the console's whole story.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "tests/support/fake_device.h"
#include "tests/support/recording_console.h"
#include "upload/upload_driver.h"

namespace {

using testing_support::RecordingConsole;
using ConsoleLine = testing_support::Line;

const ConsoleLine kUploading{"UPLOAD JSON FILE ...", BLUE, false};
const ConsoleLine kSendError{"Error sending .json file to QB-7!!", RED, false};
const ConsoleLine kNetworkHint{"Verify network connection and try again.", BLUE, false};

const ConsoleLine kSuccessLine{"Successful upload...ready to go!!", GREEN, false};

// The lines of a request that went out, the answer line, then how it ends.
std::vector<ConsoleLine> Sent(const ConsoleLine& answer, std::vector<ConsoleLine> ending) {
  std::vector<ConsoleLine> lines{kUploading,
                                 {"Initializing connection to QB-7!!", BLUE, false},
                                 {"Validating connection to QB-7?", BLUE, false},
                                 {"Connecting to QB-7!!", BLUE, false},
                                 {"Sending JSON file to QB-7!!", BLUE, false},
                                 {"Closing connection to QB-7!!", BLUE, false},
                                 answer};
  lines.insert(lines.end(), ending.begin(), ending.end());
  return lines;
}

const std::vector<ConsoleLine> kSuccess = Sent({"QB-7 answered: HTTP/1.1 200 OK", BLUE, false}, {kSuccessLine});

class UploadDriver : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = ::testing::TempDir() + "upload_driver_test." + std::to_string(getpid()) + "/";
    mkdir(folder_.c_str(), 0700);
  }
  void TearDown() override {
    for (const std::string& path : written_) std::remove(path.c_str());
    rmdir(folder_.c_str());
  }
  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string path = folder_ + name;
    std::ofstream(path, std::ios::binary) << bytes;
    written_.push_back(path);
    return path;
  }

  std::string folder_;
  std::vector<std::string> written_;
  RecordingConsole console_;
};

const std::string kDocument =
    R"({"setlist":[{"song":"Intro","patch":3,"tempo":96},{"song":"Rock & Roll","patch":12,"tempo":140}]})";

TEST_F(UploadDriver, SendsTheDocumentUnderTheFileNameLessItsLastExtension) {
  fake::Device device(fake::Answers(200));
  const std::string path = Write("Tour.live.json", kDocument);
  EXPECT_EQ(upload_setlist(path, device.endpoint(), console_), UploadOutcome::Sent);
  EXPECT_EQ(console_.lines, kSuccess);
  const std::string& request = device.Received().at(0);
  EXPECT_EQ(fake::FormField(request, "jstring"), kDocument);
  EXPECT_EQ(fake::FormField(request, "tblval"), "Tour.live");
  EXPECT_TRUE(request.starts_with("POST /save HTTP/1.1\r\nHost: 127.0.0.1\r\n"));
}

TEST_F(UploadDriver, EveryLineOfTheDocumentIsSentWithoutLineEnds) {
  struct Case { const char* bytes; const char* sent; };
  const Case cases[] = {
      {"{\"a\":1}\n", "{\"a\":1}"},                // an editor's final line break
      {"{\"a\":1}\r\n", "{\"a\":1}"},
      {"{\"a\":\r\n1,\n\"b\":2}", "{\"a\":1,\"b\":2}"},
      {"", ""},
  };
  fake::Device device(fake::Answers(200), std::size(cases));
  for (const Case& c : cases) {
    const std::string path = Write("Show.json", c.bytes);
    EXPECT_EQ(upload_setlist(path, device.endpoint(), console_), UploadOutcome::Sent) << c.bytes;
  }
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(fake::FormField(device.Received().at(i), "jstring"), cases[i].sent) << cases[i].bytes;
  }
  // An empty document still sends both fields.
  EXPECT_TRUE(device.Received()[3].ends_with("\r\n\r\njstring=&tblval=Show\r\n\r\n"));
}

TEST_F(UploadDriver, PressingTwiceSendsTheSameRequestTwice) {
  fake::Device device(fake::Answers(200), 2);
  const std::string path = Write("Tour.json", kDocument + "\n");
  EXPECT_EQ(upload_setlist(path, device.endpoint(), console_), UploadOutcome::Sent);
  EXPECT_EQ(upload_setlist(path, device.endpoint(), console_), UploadOutcome::Sent);
  EXPECT_EQ(device.Received().at(0), device.Received().at(1));
  EXPECT_EQ(console_.lines.size(), 2 * kSuccess.size());
}

TEST_F(UploadDriver, AFileGoneSinceTheBuildGivesTheOpenErrorAndTheHint) {
  const std::string path = folder_ + "Deleted.json";
  const DeviceEndpoint nobody{"127.0.0.1", fake::UnusedPort(), "/save"};
  EXPECT_EQ(upload_setlist(path, nobody, console_), UploadOutcome::Failed);
  const std::vector<ConsoleLine> expected{
      kUploading, {"Error opening .json file...", RED, true}, {path, BLACK, false}, kSendError, kNetworkHint};
  EXPECT_EQ(console_.lines, expected);
}

TEST_F(UploadDriver, AnErrorAnswerEndsWithTheSendErrorSilenceWithTheSuccessLine) {
  struct Case {
    fake::Behaviour device;
    bool failed;
    std::vector<ConsoleLine> lines;
  };
  const Case cases[] = {
      {fake::Answers(500), true,
       Sent({"QB-7 answered: HTTP/1.1 500 Internal Server Error", RED, false}, {kSendError, kNetworkHint})},
      {{fake::Manner::HangUp}, false, Sent({"QB-7 did not confirm the upload", BLUE, false}, {kSuccessLine})},
  };
  const std::string path = Write("Tour.json", kDocument);
  for (const Case& c : cases) {
    fake::Device device(c.device);
    RecordingConsole console;
    EXPECT_EQ(upload_setlist(path, device.endpoint(), console), c.failed ? UploadOutcome::Failed : UploadOutcome::Sent)
        << c.lines[6];
    EXPECT_EQ(console.lines, c.lines);
  }
}

TEST_F(UploadDriver, AFailedPostEndsWithTheSendErrorAndTheHint) {
  const std::string path = Write("Tour.json", kDocument);
  const DeviceEndpoint nobody{"127.0.0.1", fake::UnusedPort(), "/save"};
  EXPECT_EQ(upload_setlist(path, nobody, console_), UploadOutcome::Failed);
  const std::vector<ConsoleLine> expected{
      kUploading,
      {"Initializing connection to QB-7!!", BLUE, false},
      {"Validating connection to QB-7?", BLUE, false},
      {"Connecting to QB-7!!", BLUE, false},
      {"Failed to connect to QB-7!!", RED, false},
      {"127.0.0.1", BLACK, false},
      {std::strerror(ECONNREFUSED), RED, false},
      kSendError,
      kNetworkHint};
  EXPECT_EQ(console_.lines, expected);
}

TEST_F(UploadDriver, NoNameWithoutADotInTheFileName) {
  const DeviceEndpoint nobody{"127.0.0.1", fake::UnusedPort(), "/save"};
  for (const std::string& path : {folder_ + "Tour", std::string("/home/me/shows.d/Tour"), std::string("Tour")}) {
    RecordingConsole console;
    EXPECT_EQ(upload_setlist(path, nobody, console), UploadOutcome::NotNamed) << path;
    EXPECT_EQ(console.lines, (std::vector<ConsoleLine>{{"Error creating filename ...606", RED, true}})) << path;
  }
}

TEST_F(UploadDriver, NoNameForAnEmptyPathOrAFolder) {
  const DeviceEndpoint nobody{"127.0.0.1", fake::UnusedPort(), "/save"};
  for (const std::string& path : {std::string(), std::string("/"), folder_}) {
    RecordingConsole console;
    EXPECT_EQ(upload_setlist(path, nobody, console), UploadOutcome::NotNamed) << path;
    EXPECT_EQ(console.lines, (std::vector<ConsoleLine>{{"Error creating filename ...611", RED, true}})) << path;
  }
}

TEST_F(UploadDriver, APathWithoutAFolderIsItsOwnFileName) {
  fake::Device device(fake::Answers(200));
  const std::string path = Write("Bare.json", kDocument);
  char previous[4096];
  ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(chdir(folder_.c_str()), 0);
  EXPECT_EQ(upload_setlist("Bare.json", device.endpoint(), console_), UploadOutcome::Sent);
  ASSERT_EQ(chdir(previous), 0);
  EXPECT_EQ(fake::FormField(device.Received().at(0), "tblval"), "Bare");
}

}  // namespace
