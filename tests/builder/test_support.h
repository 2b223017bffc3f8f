// Test helpers shared by the builder and CLI tests: a scratch folder removed at the end, whole
// file reads and writes, and a Console that records every line with its colour and clear flag.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "builder/build_messages.h"
#include "builder/console.h"

namespace testing_support {

class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tallyform-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  const std::string& path() const { return path_; }
  // Names of everything in the folder, to catch leftover temporary files.
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(path_)) {
      names.push_back(e.path().filename().string());
    }
    return names;
  }

 private:
  std::string path_;
};

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Line {
  std::string text;
  COLORBOX colour;
  bool clear;
  bool operator==(const Line&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Line& line) {
  return os << "{\"" << line.text << "\", " << static_cast<int>(line.colour) << ", "
            << (line.clear ? "clear" : "keep") << "}";
}

class RecordingConsole : public Console {
 public:
  void string_to_textbox(const std::string& str_in, COLORBOX colour, bool clear) override {
    lines.push_back({str_in, colour, clear});
  }
  std::vector<Line> lines;
};

using Lines = std::vector<Line>;

// The console of a successful build: the progress line, `middle`, the total and the JSON path.
inline Lines SuccessLines(const Lines& middle, int records, const std::string& json_file) {
  Lines all{{build_messages::kBuilding, BLUE, false}};
  all.insert(all.end(), middle.begin(), middle.end());
  all.push_back({build_messages::kCreated + std::to_string(records), GREEN, false});
  all.push_back({json_file, BLACK, false});
  return all;
}

// The console of a stopped build: the message on an emptied console, then the path.
inline Lines StopLines(const char* message, const std::string& path) {
  return {{message, RED, true}, {path, BLACK, false}};
}

}  // namespace testing_support
