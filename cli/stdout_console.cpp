#include "cli/stdout_console.h"

#include <unistd.h>

#include <cstdio>

StdoutConsole::StdoutConsole() : colour_(isatty(STDOUT_FILENO) == 1) {}

void StdoutConsole::string_to_textbox(const std::string& str_in, COLORBOX box_text_color, bool) {
  // Clearing means nothing on a stream: earlier lines stay, as a log should.
  if (box_text_color >= BLACK && box_text_color <= GREEN) last_ = box_text_color;
  if (colour_) {
    static const char* const kAnsi[] = {"\033[0m", "\033[34m", "\033[31m", "\033[32m"};
    std::printf("%s%s\033[0m\n", kAnsi[last_], str_in.c_str());
  } else {
    std::fwrite(str_in.data(), 1, str_in.size(), stdout);
    std::fputc('\n', stdout);
  }
  std::fflush(stdout);
}
