// Judging the device's answer from the bytes read so far: which status it gave, and when
// reading can stop.
#include <gtest/gtest.h>

#include "upload/device_answer.h"

namespace {

struct Case {
  std::string bytes;
  std::optional<std::string> line;  // the status line shown, when there is one
  int code;
  bool settled;
};

TEST(DeviceAnswer, StatusAndSettlingOfWhatArrived) {
  const std::string kBig(2000, 'x');
  const Case cases[] = {
      {"", std::nullopt, 0, false},
      {"HTT", std::nullopt, 0, false},                               // may still become one
      {"HTTP/1.1 200 OK", std::nullopt, 0, false},                   // the line is not ended yet
      {"HTTP/1.1 200 OK\r\n", "HTTP/1.1 200 OK", 200, false},        // the head goes on
      {"HTTP/1.1 200 OK\r\n\r\n", "HTTP/1.1 200 OK", 200, true},
      {"HTTP/1.0 204\n\n", "HTTP/1.0 204", 204, true},               // bare line feeds, no reason
      {"HTTP/1.1 500 Internal Server Error\r\nContent-Length: 5\r\n\r\nOo", "HTTP/1.1 500 Internal Server Error", 500,
       false},                                                       // three body bytes to come
      {"HTTP/1.1 500 Internal Server Error\r\ncontent-length:  5 \r\n\r\nOops!", "HTTP/1.1 500 Internal Server Error",
       500, true},
      {"HTTP/1.1 404 Not Found\r\nContent-Length: 99999999999999999999\r\n\r\n", "HTTP/1.1 404 Not Found", 404,
       false},                                                       // read on, up to the limit
      {"HTTP/1.1 200 OK\r\nContent-Length: many\r\n\r\n", "HTTP/1.1 200 OK", 200, true},
      {"HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 201 Created\r\n\r\n", "HTTP/1.1 201 Created", 201, true},
      {"HTTP/1.1 100 Continue\r\nX: y\r\n", std::nullopt, 0, false},
      {"HTTP/1.1 200 \x01K\xFF \t\r\n\r\n", "HTTP/1.1 200 ?K?", 200, true},
      {"HTTP/1.1 302 Found\r\nLocation: /\r\n\r\n", "HTTP/1.1 302 Found", 302, true},
      {"HTTP/1.1 099 Odd\r\n\r\n", "HTTP/1.1 099 Odd", 99, true},
      // Not an HTTP answer: settled at once, no status.
      {"hello\r\n", std::nullopt, 0, true},
      {"HTTP/1.1 2x0 OK\r\n\r\n", std::nullopt, 0, true},
      {"HTTP/1.1 200OK\r\n\r\n", std::nullopt, 0, true},
      {"HTTP/1.1 200 " + kBig, std::nullopt, 0, true},               // a status line without end
      {"HTTP/1.1 200 " + kBig + "\r\n\r\n", std::nullopt, 0, true},
  };
  for (const Case& c : cases) {
    const std::optional<AnswerStatus> status = FinalAnswerStatus(c.bytes);
    EXPECT_EQ(status.has_value(), c.line.has_value()) << c.bytes;
    if (status && c.line) {
      EXPECT_EQ(status->line, *c.line) << c.bytes;
      EXPECT_EQ(status->code, c.code) << c.bytes;
    }
    EXPECT_EQ(AnswerSettled(c.bytes), c.settled) << c.bytes;
  }
}

TEST(DeviceAnswer, EveryCutOfAWholeAnswerKeepsItsStatusOnceTheLineIsIn) {
  const std::string answer = "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nOK";
  const size_t final_line_end = answer.find("OK\r\n") + 4;
  for (size_t cut = 0; cut <= answer.size(); ++cut) {
    const std::string_view part(answer.data(), cut);
    EXPECT_EQ(FinalAnswerStatus(part).has_value(), cut >= final_line_end) << cut;
    EXPECT_EQ(AnswerSettled(part), cut == answer.size()) << cut;
  }
}

}  // namespace
