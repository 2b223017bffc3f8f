// The request bytes the device receives: header block, body, encoding and length.
#include <gtest/gtest.h>

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
