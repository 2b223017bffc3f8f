// `tallyform-cli upload` against a fake device on loopback: what arrives, what is printed,
// and the exit codes. Every run names 127.0.0.1, so no test can reach the real device.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/cli/cli_runner.h"
#include "tests/support/fake_device.h"

namespace {

CliRun RunCli(std::vector<std::string> args) {
  args.insert(args.begin(), "upload");
  return ::RunCli(args, ::testing::TempDir());
}

std::string WriteJson(const std::string& name, const std::string& bytes) {
  const std::string path = ::testing::TempDir() + name;
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

const std::string kDocument = R"([{"song":"Rock & Roll","patch":"P12","notes":"+2 semitones","bpm":"96"}])";

TEST(UploadCli, SendsTheDocumentAndPrintsEveryStep) {
  fake::Device device(fake::Answers(200));
  const std::string path = WriteJson("CliTour.json", kDocument + "\r\n");
  const CliRun run = RunCli({path, "--host", "127.0.0.1", "--port", std::to_string(device.port())});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out,
            "UPLOAD JSON FILE ...\n"
            "Initializing connection to QB-7!!\n"
            "Validating connection to QB-7?\n"
            "Connecting to QB-7!!\n"
            "Sending JSON file to QB-7!!\n"
            "Closing connection to QB-7!!\n"
            "QB-7 answered: HTTP/1.1 200 OK\n"
            "Successful upload...ready to go!!\n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(fake::FormField(device.Received().at(0), "jstring"), kDocument);
  EXPECT_EQ(fake::FormField(device.Received()[0], "tblval"), "CliTour");
  std::remove(path.c_str());
}

TEST(UploadCli, TakesOptionsWithEqualsAndInAnyOrder) {
  fake::Device device(fake::Answers(200));
  const std::string path = WriteJson("CliOrder.json", kDocument);
  const CliRun run = RunCli({"--port=" + std::to_string(device.port()), "--host=127.0.0.1", path});
  EXPECT_EQ(run.exit_code, 0) << run.out << run.err;
  EXPECT_EQ(fake::FormField(device.Received().at(0), "tblval"), "CliOrder");
  std::remove(path.c_str());
}

TEST(UploadCli, AFailedUploadExitsOne) {
  const std::string port = std::to_string(fake::UnusedPort());
  const std::string path = WriteJson("CliNobody.json", kDocument);
  CliRun run = RunCli({path, "--host", "127.0.0.1", "--port", port});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.out.find("Failed to connect to QB-7!!\n127.0.0.1\n"), std::string::npos) << run.out;
  EXPECT_TRUE(run.out.ends_with("Error sending .json file to QB-7!!\nVerify network connection and try again.\n"));
  std::remove(path.c_str());

  run = RunCli({path, "--host", "127.0.0.1", "--port", port});  // now gone
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.out.find("Error opening .json file...\n" + path + "\n"), std::string::npos) << run.out;

  run = RunCli({::testing::TempDir() + "NoExtension", "--host", "127.0.0.1", "--port", port});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.out, "Error creating filename ...606\n");
}

TEST(UploadCli, AnErrorAnswerExitsOneAnUnconfirmedUploadZero) {
  struct Case {
    fake::Behaviour device;
    int exit_code;
    std::string tail;
  };
  const Case cases[] = {
      {fake::Answers(500), 1,
       "Closing connection to QB-7!!\nQB-7 answered: HTTP/1.1 500 Internal Server Error\n"
       "Error sending .json file to QB-7!!\nVerify network connection and try again.\n"},
      {{fake::Manner::HangUp}, 0,
       "Closing connection to QB-7!!\nQB-7 did not confirm the upload\nSuccessful upload...ready to go!!\n"},
  };
  const std::string path = WriteJson("CliAnswer.json", kDocument);
  for (const Case& c : cases) {
    fake::Device device(c.device);
    const CliRun run = RunCli({path, "--host", "127.0.0.1", "--port", std::to_string(device.port())});
    EXPECT_EQ(run.exit_code, c.exit_code) << run.out;
    EXPECT_TRUE(run.out.ends_with(c.tail)) << run.out;
  }
  std::remove(path.c_str());
}

// Refused before connecting: nothing is printed on standard output, so not even the first
// upload line appears.
TEST(UploadCli, RefusesWhatIsNoJsonArrayOrTooLargeBeforeConnecting) {
  struct Case {
    const char* name;
    std::string bytes;
    std::string why;
  };
  const Case cases[] = {
      {"CliObject.json", R"({"song":"A"})", "it holds an object, not a JSON array"},
      {"CliEmpty.json", "", "it is not JSON: parse error at line 1, column 1"},
      {"CliCsv.json", "opener,Opening Song,P01,Loud,120\n", "it is not JSON: parse error"},
      {"CliTrailing.json", "[] []", "it is not JSON: parse error"},
      {"CliLatin1.json", "[{\"song\":\"Caf\xE9\"}]", "ill-formed UTF-8"},
  };
  const std::string port = std::to_string(fake::UnusedPort());
  for (const Case& c : cases) {
    const std::string path = WriteJson(c.name, c.bytes);
    const CliRun run = RunCli({path, "--host", "127.0.0.1", "--port", port});
    EXPECT_EQ(run.exit_code, 1) << c.name;
    EXPECT_EQ(run.out, "") << c.name;
    EXPECT_EQ(run.err.rfind("tallyform-cli upload: not sending " + path + ": ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find(c.why), std::string::npos) << run.err;
    std::remove(path.c_str());
  }

  // Over 16 MiB: told by its size, before a byte is read (the file is all holes).
  const std::string big = ::testing::TempDir() + "CliHuge.json";
  ASSERT_EQ(truncate(WriteJson("CliHuge.json", "[").c_str(), (16 << 20) + 1), 0);
  CliRun run = RunCli({big, "--host", "127.0.0.1", "--port", port});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find(": it is larger than 16 MiB (16777217 bytes)"), std::string::npos) << run.err;
  std::remove(big.c_str());

  // A device would be read for ever.
  const std::string endless = ::testing::TempDir() + "CliZero.json";
  std::remove(endless.c_str());
  ASSERT_EQ(symlink("/dev/zero", endless.c_str()), 0);
  run = RunCli({endless, "--host", "127.0.0.1", "--port", port});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find(": it is not a regular file"), std::string::npos) << run.err;
  std::remove(endless.c_str());
}

TEST(UploadCli, UsageErrorsExitTwoWithTheUsageOnStandardError) {
  const std::vector<std::vector<std::string>> wrong{
      {},
      {"--host", "127.0.0.1"},
      {"a.json", "--host", "127.0.0.1", "--port"},
      {"a.json", "--port", "9", "--host"},
      {"a.json", "--host", "127.0.0.1", "--port", "http"},
      {"a.json", "--host", "127.0.0.1", "--port", "0"},
      {"a.json", "--host", "127.0.0.1", "--port", "65536"},
      {"a.json", "--host", "127.0.0.1", "--port", "-1"},
      {"a.json", "b.json", "--host", "127.0.0.1", "--port", "9"},
      {"a.json", "--host", "127.0.0.1", "--port", "9", "--verbose"},
  };
  for (const auto& args : wrong) {
    const CliRun run = RunCli(args);
    std::string shown;
    for (const std::string& arg : args) shown += arg + " ";
    EXPECT_EQ(run.exit_code, 2) << shown;
    EXPECT_EQ(run.out, "") << shown;
    EXPECT_NE(run.err.find("usage: tallyform-cli upload JSON [--host ADDR] [--port N]"), std::string::npos)
        << shown;
  }
}

}  // namespace
