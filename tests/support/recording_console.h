// A console that keeps every line it is given, with its colour and clear flag, so tests can
// compare the whole sequence a build or an upload printed.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "console/console.h"

namespace testing_support {

struct Line {
  std::string text;
  COLORBOX colour;
  bool clear;
  bool operator==(const Line&) const = default;
};
using Lines = std::vector<Line>;

inline std::ostream& operator<<(std::ostream& out, const Line& line) {
  static const char* const kNames[] = {"BLACK", "BLUE", "RED", "GREEN"};
  out << '{' << '"' << line.text << "\", ";
  if (line.colour >= BLACK && line.colour <= GREEN) out << kNames[line.colour];
  else out << static_cast<int>(line.colour);
  return out << (line.clear ? ", clear}" : "}");
}

class RecordingConsole : public Console {
 public:
  void string_to_textbox(const std::string& str_in, COLORBOX box_text_color, bool clear) override {
    lines.push_back({str_in, box_text_color, clear});
  }
  Lines lines;
};

}  // namespace testing_support
