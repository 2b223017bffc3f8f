#include "builder/setlist_document.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <nlohmann/json.hpp>

namespace {

using json = nlohmann::json;

// Takes the parser's events into records. Depth 0 is outside the array, 1 inside it, 2 inside
// a record; anything deeper is refused at once, so nothing nests.
class RecordCollector {
 public:
  explicit RecordCollector(std::vector<SetlistRecord>& records) : records_(records) {}
  const std::string& error() const { return error_; }

  bool null() { return Value("null"); }
  bool boolean(bool value) { return Value(value ? "true" : "false"); }
  bool number_integer(json::number_integer_t value) { return Value(std::to_string(value)); }
  bool number_unsigned(json::number_unsigned_t value) { return Value(std::to_string(value)); }
  bool number_float(json::number_float_t, const json::string_t& text) { return Value(text); }
  bool string(json::string_t& value) { return Value(std::move(value)); }
  bool binary(json::binary_t&) { return Fail("it holds binary data"); }
  bool start_object(std::size_t) {
    if (depth_ == 0) return Fail("it holds an object, not a JSON array");
    if (depth_ == 2) return Fail("record " + std::to_string(records_.size()) + " holds a nested value");
    if (records_.size() >= kMaxDocumentRecords) {
      return Fail("it holds more than " + std::to_string(kMaxDocumentRecords) + " records");
    }
    records_.emplace_back();
    depth_ = 2;
    field_ = nullptr;
    return true;
  }
  bool key(json::string_t& name) {
    SetlistRecord& record = records_.back();
    field_ = name == "song" ? &record.song : name == "patch" ? &record.patch
           : name == "notes" ? &record.notes : name == "bpm" ? &record.bpm : nullptr;
    return true;
  }
  bool end_object() {
    depth_ = 1;
    return true;
  }
  bool start_array(std::size_t) {
    if (depth_ == 1) return NotARecord();
    if (depth_ == 2) return Fail("record " + std::to_string(records_.size()) + " holds a nested value");
    depth_ = 1;
    return true;
  }
  bool end_array() {
    depth_ = 0;
    return true;
  }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) {
    // "[json.exception.parse_error.101] parse error at line 1, column 2: ..." without its tag.
    const std::string what = e.what();
    const auto at = what.find("] ");
    return Fail("it is not JSON: " + (at == std::string::npos ? what : what.substr(at + 2)));
  }

 private:
  bool Value(std::string text) {
    if (depth_ == 0) return Fail("it holds a single value, not a JSON array");
    if (depth_ == 1) return NotARecord();
    if (field_) *field_ = std::move(text);
    return true;
  }
  bool NotARecord() { return Fail("item " + std::to_string(records_.size() + 1) + " of the array is not a record"); }
  bool Fail(std::string why) {
    if (error_.empty()) error_ = std::move(why);
    return false;
  }

  std::vector<SetlistRecord>& records_;
  std::string error_;
  int depth_ = 0;
  std::string* field_ = nullptr;
};

}  // namespace

bool ReadSetlistDocument(const std::string& path, std::vector<SetlistRecord>& records, std::string& error) {
  records.clear();
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) {
    error = std::strerror(errno);
    return false;
  }
  if (S_ISDIR(info.st_mode)) {
    error = "it is a folder";
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    error = "it is not a regular file";
    return false;
  }
  // Before reading: whatever the file has become since the build, it is not read past the limit.
  if (static_cast<std::uintmax_t>(info.st_size) > kMaxDocumentBytes) {
    error = "it is larger than 16 MiB (" + std::to_string(info.st_size) + " bytes)";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = std::strerror(errno);
    return false;
  }
  std::string text(static_cast<size_t>(info.st_size), '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<size_t>(in.gcount()));  // the file may have shrunk since stat
  if (in.bad()) {
    error = std::strerror(errno);
    return false;
  }
  // The shortest record the build writes, {"song":"","patch":"","notes":"","bpm":""} and its
  // comma, bounds how many a built document holds: room for them at once, never past the limit.
  constexpr size_t kShortestBuiltRecord = 42;
  records.reserve(std::min(kMaxDocumentRecords, text.size() / kShortestBuiltRecord + 1));
  RecordCollector collector(records);
  if (!json::sax_parse(text, &collector)) {
    error = collector.error().empty() ? "it is not JSON" : collector.error();
    records.clear();
    return false;
  }
  return true;
}
