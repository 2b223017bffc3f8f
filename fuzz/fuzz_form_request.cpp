// The upload's bytes: the document's line joining, the form body and the request around it.
#include <cstdint>
#include <string>
#include <string_view>

#include "upload/document_text.h"
#include "upload/form_request.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view raw(reinterpret_cast<const char*>(data), size);
  const size_t cut = raw.find('\0');
  const std::string jstring = JoinLines(raw.substr(0, cut));
  const std::string name(cut == std::string_view::npos ? std::string_view() : raw.substr(cut + 1));
  const std::string body = BuildFormBody({{"jstring", jstring}, {"tblval", name}});
  const std::string request = BuildRequest("127.0.0.1", "/save", body);
  // The body must be the tail of the request, before its closing CR LF CR LF.
  if (request.size() < body.size() + 4 ||
      request.compare(request.size() - body.size() - 4, body.size(), body) != 0)
    __builtin_trap();
  return 0;
}
