#include "upload/form_request.h"

std::string EncodeFormText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '%': out += "%25"; break;
      case '&': out += "%26"; break;
      case '+': out += "%2B"; break;
      default: out += c; break;
    }
  }
  return out;
}

std::string BuildFormBody(const FormFields& fields) {
  std::string body;
  bool first = true;
  for (const auto& [name, value] : fields) {
    if (!first) body += '&';
    first = false;
    body += EncodeFormText(name);
    body += '=';
    body += EncodeFormText(value);
  }
  return body;
}

std::string BuildRequest(const std::string& host, const std::string& path, const std::string& body) {
  // The device's web page sends exactly this header set; the device is only known to accept it.
  std::string request;
  request.reserve(body.size() + 512 + 3 * host.size() + path.size());
  request += "POST " + path + " HTTP/1.1\r\n";
  request += "Host: " + host + "\r\n";
  request += "User-Agent: Mozilla/5.0 (Windows NT 10.0; Win64; x64; rv:109.0) Gecko/20100101 Firefox/110.0\r\n";
  request += "Accept: */*\r\n";
  request += "Accept-Language: en-US,en;q=0.5\r\n";
  request += "Accept-Charset: utf-8\r\n";
  request += "Accept-Encoding: gzip, deflate, identity\r\n";
  request += "Content-Type: application/x-www-form-urlencoded; charset=UTF-8\r\n";
  request += "X-Requested-With: XMLHttpRequest\r\n";
  request += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  request += "Origin: http://" + host + "\r\n";
  request += "Connection: keep-alive\r\n";
  request += "Referer: http://" + host + "\r\n";
  request += "\r\n";
  request += body;
  request += "\r\n\r\n";
  return request;
}
