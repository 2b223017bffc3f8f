// The bytes of the device's form POST: the urlencoded body and the request around it.
// Pure string work, no sockets, so the exact bytes can be checked and fuzzed on their own.
// form_post.cpp owns the connection that carries them.
#pragma once

#include <string>
#include <string_view>

#include "upload/form_post.h"

// `text` with the three bytes a form decoder would misread escaped: "%" as %25, "&" as %26,
// "+" as %2B. Every other byte is kept as it is.
std::string EncodeFormText(std::string_view text);

// name=value pairs joined by "&" in list order; empty for an empty list.
std::string BuildFormBody(const FormFields& fields);

// The whole HTTP/1.1 request: the fixed header block naming `host`, then `body`, then CR LF CR LF.
std::string BuildRequest(const std::string& host, const std::string& path, const std::string& body);
