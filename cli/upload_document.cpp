#include "cli/upload_document.h"

#include <sys/stat.h>

#include <cstddef>
#include <nlohmann/json.hpp>

#include "upload/document_text.h"

namespace {

// Validates the whole text without building it in memory, noting what the outermost value is.
struct OutermostValue {
  using json = nlohmann::json;
  const char* kind = nullptr;  // set by the first event
  std::string error;

  bool Saw(const char* what) {
    if (kind == nullptr) kind = what;
    return true;
  }
  bool null() { return Saw("null"); }
  bool boolean(bool) { return Saw("a boolean"); }
  bool number_integer(json::number_integer_t) { return Saw("a number"); }
  bool number_unsigned(json::number_unsigned_t) { return Saw("a number"); }
  bool number_float(json::number_float_t, const json::string_t&) { return Saw("a number"); }
  bool string(json::string_t&) { return Saw("a string"); }
  bool binary(json::binary_t&) { return Saw("binary data"); }
  bool start_object(std::size_t) { return Saw("an object"); }
  bool key(json::string_t&) { return true; }
  bool end_object() { return true; }
  bool start_array(std::size_t) { return Saw("an array"); }
  bool end_array() { return true; }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) {
    // "[json.exception.parse_error.101] parse error at line 1, column 2: ..." without its tag.
    const std::string what = e.what();
    const auto at = what.find("] ");
    error = at == std::string::npos ? what : what.substr(at + 2);
    return false;
  }
};

}  // namespace

std::optional<std::string> UploadRefusal(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return std::nullopt;
  if (!S_ISREG(info.st_mode)) return "it is not a regular file";
  // Before reading: the file may be anything at all.
  if (static_cast<std::uintmax_t>(info.st_size) > kMaxUploadBytes) {
    return "it is larger than 16 MiB (" + std::to_string(info.st_size) + " bytes)";
  }
  std::string text;
  if (!ReadDocumentText(path, text)) return std::nullopt;
  OutermostValue outermost;
  if (!nlohmann::json::sax_parse(text, &outermost)) return "it is not JSON: " + outermost.error;
  if (outermost.kind == nullptr) return "it is not JSON";
  if (outermost.kind != std::string_view("an array")) {
    return std::string("it holds ") + outermost.kind + ", not a JSON array";
  }
  return std::nullopt;
}
