// The companion's console: each line once on standard output, coloured only on a terminal.
// Lines gather in one buffer, written out when it fills, on Flush and when the console goes:
// a build with thousands of unknown entries makes a handful of writes, not one per line.
// The console owns its buffer; the sink (standard output unless one is given) only writes.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "console/console.h"

class StdoutConsole : public Console {
 public:
  // Receives the buffered bytes, in order; called only with a non-empty run of whole lines
  // (a line longer than the buffer comes on its own).
  using Sink = std::function<void(std::string_view bytes)>;
  // kEachLine for work that waits on the network after most lines (the upload): each line is
  // out before the wait, so the user sees where it stands.
  enum class Flushing { kWhenFull, kEachLine };
  static constexpr size_t kBufferBytes = size_t{64} << 10;

  explicit StdoutConsole(Flushing flushing = Flushing::kWhenFull);
  StdoutConsole(Sink sink, bool colour, Flushing flushing);
  ~StdoutConsole() override;
  StdoutConsole(const StdoutConsole&) = delete;
  StdoutConsole& operator=(const StdoutConsole&) = delete;

  void string_to_textbox(const std::string& str_in, COLORBOX box_text_color, bool clear) override;
  // Writes out what is buffered. The commands call it as soon as their work has ended, so a
  // signal after that loses no line.
  void Flush();

 private:
  Sink sink_;
  bool colour_;
  Flushing flushing_;
  COLORBOX last_ = BLACK;
  std::string buffer_;
};
