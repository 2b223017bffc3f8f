// The request bytes the device receives: header block, body, encoding and length.
#include <gtest/gtest.h>

#include <cctype>

#include "upload/form_request.h"

namespace {

std::string Headers(const std::string& host, const std::string& path, size_t length) {
  return "POST " + path + " HTTP/1.1\r\n"
         "Host: " + host + "\r\n"
         "User-Agent: Mozilla/5.0 (Windows NT 10.0; Win64; x64; rv:109.0) Gecko/20100101 Firefox/110.0\r\n"
         "Accept: */*\r\n"
         "Accept-Language: en-US,en;q=0.5\r\n"
         "Accept-Charset: utf-8\r\n"
         "Accept-Encoding: gzip, deflate, identity\r\n"
         "Content-Type: application/x-www-form-urlencoded; charset=UTF-8\r\n"
         "X-Requested-With: XMLHttpRequest\r\n"
         "Content-Length: " + std::to_string(length) + "\r\n"
         "Origin: http://" + host + "\r\n"
         "Connection: keep-alive\r\n"
         "Referer: http://" + host + "\r\n"
         "\r\n";
}

TEST(FormRequest, UploadFieldsGiveTheDevicesRequestByteForByte) {
  const std::string document = R"({"setlist":[{"name":"Intro","patch":12,"tempo":120}]})";
  const std::string body = BuildFormBody({{"jstring", document}, {"tblval", "Tour"}});
  EXPECT_EQ(body, "jstring=" + document + "&tblval=Tour");
  EXPECT_EQ(BuildRequest("192.168.4.1", "/save", body),
            Headers("192.168.4.1", "/save", body.size()) + body + "\r\n\r\n");
}

TEST(FormRequest, TwoSmallFieldsCountSevenBytesAndEndWithTwoLineEnds) {
  const std::string body = BuildFormBody({{"a", "1"}, {"b", "2"}});
  EXPECT_EQ(body, "a=1&b=2");
  const std::string request = BuildRequest("127.0.0.1", "/save", body);
  EXPECT_NE(request.find("\r\nContent-Length: 7\r\n"), std::string::npos);
  EXPECT_TRUE(request.ends_with("\r\n\r\na=1&b=2\r\n\r\n"));
  // The host appears without a port, and the referer without a trailing "/".
  EXPECT_NE(request.find("\r\nHost: 127.0.0.1\r\n"), std::string::npos);
  EXPECT_NE(request.find("\r\nReferer: http://127.0.0.1\r\n\r\n"), std::string::npos);
}

TEST(FormRequest, EmptyValuesKeepTheirNameAndEquals) {
  EXPECT_EQ(BuildFormBody({{"jstring", ""}}), "jstring=");
  EXPECT_EQ(BuildFormBody({{"jstring", ""}, {"tblval", ""}}), "jstring=&tblval=");
  EXPECT_EQ(BuildFormBody({}), "");
  EXPECT_EQ(BuildRequest("h", "/", ""), Headers("h", "/", 0) + "\r\n\r\n");
}

TEST(FormRequest, OnlyPercentAmpersandAndPlusAreEncoded) {
  EXPECT_EQ(EncodeFormText("Rock & Roll"), "Rock %26 Roll");
  EXPECT_EQ(EncodeFormText("100% C++"), "100%25 C%2B%2B");
  EXPECT_EQ(EncodeFormText("%26"), "%2526");  // already-encoded text is not taken as encoded
  const std::string untouched = "a=b c\t\"{}\"/?#;:\r\n\xE9\xFF";
  EXPECT_EQ(EncodeFormText(untouched), untouched);
  EXPECT_EQ(EncodeFormText(std::string("x\0y", 3)), std::string("x\0y", 3));

  const std::string body = BuildFormBody({{"jstring", R"({"name":"Rock & Roll","notes":"+5%"})"},
                                          {"tblval", "A&B"}});
  EXPECT_EQ(body, R"(jstring={"name":"Rock %26 Roll","notes":"%2B5%25"}&tblval=A%26B)");
  // Names are encoded the same way as values.
  EXPECT_EQ(BuildFormBody({{"a&b", "c"}}), "a%26b=c");
}

TEST(FormRequest, ContentLengthCountsTheBodyAsSent) {
  const std::string body = BuildFormBody({{"jstring", "&&&"}});
  ASSERT_EQ(body, "jstring=%26%26%26");
  const std::string request = BuildRequest("127.0.0.1", "/save", body);
  EXPECT_NE(request.find("\r\nContent-Length: 17\r\n"), std::string::npos);
}

}  // namespace

namespace {

// What a form decoder on the device does: split at "&", then at the first "=", then decode
// "+" as a space and %XX as a byte.
std::string FormDecode(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      out += ' ';
    } else if (text[i] == '%' && i + 2 < text.size() && isxdigit(static_cast<unsigned char>(text[i + 1])) &&
               isxdigit(static_cast<unsigned char>(text[i + 2]))) {
      out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

TEST(FormRequest, AnyValueSurvivesAFormDecoder) {
  unsigned seed = 12345;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) & 0xFF;
  };
  const std::string tricky = "%&+= 25%2B%26";
  for (int round = 0; round < 2000; ++round) {
    std::string values[2];
    for (std::string& value : values) {
      const unsigned size = next() % 24;
      for (unsigned i = 0; i < size; ++i) {
        const unsigned pick = next();
        value += pick < 128 ? tricky[pick % tricky.size()] : static_cast<char>(next());
      }
    }
    const std::string body = BuildFormBody({{"jstring", values[0]}, {"tblval", values[1]}});
    const auto amp = body.find('&');
    ASSERT_NE(amp, std::string::npos);
    ASSERT_EQ(body.find('&', amp + 1), std::string::npos) << body;  // exactly two fields
    ASSERT_TRUE(body.starts_with("jstring=")) << body;
    ASSERT_EQ(body.compare(amp, 8, "&tblval="), 0) << body;
    EXPECT_EQ(FormDecode(body.substr(8, amp - 8)), values[0]) << body;
    EXPECT_EQ(FormDecode(body.substr(amp + 8)), values[1]) << body;
  }
}

}  // namespace
