#include "upload/device_answer.h"

#include <algorithm>
#include <cctype>

namespace {

// A status line longer than this is no answer of a small device's web server.
constexpr std::size_t kStatusLineLimit = 1024;

// The fixed start of a status line; '9' stands for any digit.
constexpr std::string_view kStatusPattern = "HTTP/9.9 999";

bool MatchesStatusPattern(std::string_view text) {
  for (std::size_t i = 0; i < text.size() && i < kStatusPattern.size(); ++i) {
    const bool digit = std::isdigit(static_cast<unsigned char>(text[i])) != 0;
    if (kStatusPattern[i] == '9' ? !digit : text[i] != kStatusPattern[i]) return false;
  }
  return true;
}

std::string_view WithoutCarriageReturn(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

std::optional<AnswerStatus> ParseStatusLine(std::string_view line) {
  line = WithoutCarriageReturn(line);
  if (line.size() < kStatusPattern.size() || !MatchesStatusPattern(line)) return std::nullopt;
  if (line.size() > kStatusPattern.size() && line[kStatusPattern.size()] != ' ') return std::nullopt;
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
  AnswerStatus status{std::string(line), 0};
  for (char& c : status.line) {
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) c = '?';
  }
  for (std::size_t i = 9; i < 12; ++i) status.code = status.code * 10 + (line[i] - '0');
  return status;
}

bool NameIs(std::string_view header, std::string_view name) {
  if (header.size() < name.size() + 1 || header[name.size()] != ':') return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(header[i])) != name[i]) return false;
  }
  return true;
}

// The Content-Length of a head, at most kAnswerReadLimit; 0 when absent or not a number.
std::size_t ContentLength(std::string_view header) {
  std::string_view value = header.substr(header.find(':') + 1);
  while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
  while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
  if (value.empty()) return 0;
  std::size_t length = 0;
  for (const char c : value) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return 0;
    length = std::min(length * 10 + static_cast<std::size_t>(c - '0'), kAnswerReadLimit);
  }
  return length;
}

struct Judgement {
  std::optional<AnswerStatus> status;
  bool settled = false;
};

Judgement Judge(std::string_view bytes) {
  for (;;) {
    const std::size_t status_end = bytes.find('\n');
    if (status_end == std::string_view::npos) {
      // An unfinished line settles once it can no longer become a status line.
      return {std::nullopt, bytes.size() >= kStatusLineLimit || !MatchesStatusPattern(bytes)};
    }
    std::optional<AnswerStatus> status =
        status_end < kStatusLineLimit ? ParseStatusLine(bytes.substr(0, status_end)) : std::nullopt;
    if (!status) return {std::nullopt, true};

    // The header lines, up to the empty line that ends the head.
    std::size_t body_length = 0;
    std::size_t line_start = status_end + 1;
    std::optional<std::size_t> head_end;
    for (std::size_t line_end; (line_end = bytes.find('\n', line_start)) != std::string_view::npos;
         line_start = line_end + 1) {
      const std::string_view line = WithoutCarriageReturn(bytes.substr(line_start, line_end - line_start));
      if (line.empty()) {
        head_end = line_end + 1;
        break;
      }
      if (NameIs(line, "content-length")) body_length = ContentLength(line);
    }

    const bool interim = status->code < 200 && status->code >= 100;
    if (!interim) {
      const bool body_whole = head_end && bytes.size() - *head_end >= body_length;
      return {std::move(status), body_whole};
    }
    if (!head_end) return {std::nullopt, false};
    bytes.remove_prefix(*head_end);  // an interim answer has no body: the next one follows
  }
}

}  // namespace

std::optional<AnswerStatus> FinalAnswerStatus(std::string_view bytes) { return Judge(bytes).status; }

bool AnswerSettled(std::string_view bytes) { return Judge(bytes).settled; }
