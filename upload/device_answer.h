// The device's answer to the form POST, judged from the bytes that came back: the status
// line of its final answer, and whether enough has arrived to stop reading. Pure string
// work on what the caller read; form_post.cpp reads the bytes and reports the outcome.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The most of an answer that is read: its head and a few KiB of its body.
inline constexpr std::size_t kAnswerReadLimit = 16 * 1024;

struct AnswerStatus {
  std::string line;  // as shown: without its line end, every byte outside printable ASCII as "?"
  int code;          // the three digits
};

// The status of the final answer in `bytes`, after any interim (1xx) answers whose head is
// whole; nothing while there is no whole, well-formed status line ("HTTP/d.d ddd ...").
std::optional<AnswerStatus> FinalAnswerStatus(std::string_view bytes);

// True when more bytes cannot change what FinalAnswerStatus says and the final answer's body
// has arrived as far as its Content-Length goes; also true for bytes that cannot begin an
// HTTP answer.
bool AnswerSettled(std::string_view bytes);
