// A console that keeps every line it is given, with its colour and clear flag, so tests can
// compare the whole sequence the upload printed.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "builder/console.h"

struct ConsoleLine {
  std::string text;
  COLORBOX colour;
  bool clear;
  bool operator==(const ConsoleLine&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const ConsoleLine& line) {
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
  std::vector<ConsoleLine> lines;
};
