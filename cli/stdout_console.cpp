#include "cli/stdout_console.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <utility>

namespace {

// Through stdio, so the lines keep their place among anything else printed to stdout.
void WriteToStdout(std::string_view bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  std::fflush(stdout);
}

}  // namespace

StdoutConsole::StdoutConsole(Flushing flushing)
    : StdoutConsole(WriteToStdout, isatty(STDOUT_FILENO) == 1, flushing) {}

StdoutConsole::StdoutConsole(Sink sink, bool colour, Flushing flushing)
    : sink_(std::move(sink)), colour_(colour), flushing_(flushing) {
  buffer_.reserve(kBufferBytes);
}

StdoutConsole::~StdoutConsole() { Flush(); }

void StdoutConsole::string_to_textbox(const std::string& str_in, COLORBOX box_text_color, bool) {
  // Clearing means nothing on a stream: earlier lines stay, as a log should.
  if (box_text_color >= BLACK && box_text_color <= GREEN) last_ = box_text_color;
  static const char* const kAnsi[] = {"\033[0m", "\033[34m", "\033[31m", "\033[32m"};
  static constexpr std::string_view kReset = "\033[0m\n";
  // A terminal line ends at the text's first NUL, as printf("%s") always ended it.
  const std::string_view text = colour_ ? std::string_view(str_in.c_str()) : std::string_view(str_in);
  const std::string_view start = colour_ ? std::string_view(kAnsi[last_]) : std::string_view();
  const std::string_view end = colour_ ? kReset : std::string_view("\n");
  // Only whole lines are written: one that would not fit sends the buffer ahead of it.
  if (buffer_.size() + start.size() + text.size() + end.size() > kBufferBytes) Flush();
  buffer_.append(start).append(text).append(end);
  if (flushing_ == Flushing::kEachLine || buffer_.size() >= kBufferBytes) Flush();
}

void StdoutConsole::Flush() {
  if (buffer_.empty()) return;
  sink_(buffer_);
  buffer_.clear();
}
