// The companion's console: each line once on standard output, coloured only on a terminal.
#pragma once

#include "console/console.h"

class StdoutConsole : public Console {
 public:
  StdoutConsole();
  void string_to_textbox(const std::string& str_in, COLORBOX box_text_color, bool clear) override;

 private:
  bool colour_;
  COLORBOX last_ = BLACK;
};
