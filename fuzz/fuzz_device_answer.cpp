// The device's answer as the upload judges it while it arrives: whatever came back, the status
// shown is printable and well formed, and once an answer is settled no later byte changes its
// verdict (the upload stops reading there, so a change would misreport the upload).
#include <cstdint>
#include <optional>
#include <string_view>

#include "upload/device_answer.h"

namespace {

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

void CheckStatus(const std::optional<AnswerStatus>& status) {
  if (!status) return;
  Check(status->code >= 0 && status->code <= 999);
  Check(status->line.rfind("HTTP/", 0) == 0 && status->line.size() >= 12);
  for (const char c : status->line) Check(c >= 0x20 && c <= 0x7E);
}

bool SameStatus(const std::optional<AnswerStatus>& a, const std::optional<AnswerStatus>& b) {
  return a.has_value() == b.has_value() && (!a || (a->line == b->line && a->code == b->code));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view whole(reinterpret_cast<const char*>(data), size);
  const std::optional<AnswerStatus> final_status = FinalAnswerStatus(whole);
  CheckStatus(final_status);
  const bool settled = AnswerSettled(whole);
  // Every prefix of a small answer (as the bytes arrive in pieces), a few of a large one.
  const size_t step = size <= 512 ? 1 : size / 61 + 1;
  for (size_t cut = 0; cut < size; cut += step) {
    const std::string_view part = whole.substr(0, cut);
    const std::optional<AnswerStatus> status = FinalAnswerStatus(part);
    CheckStatus(status);
    if (status) Check(SameStatus(status, final_status));  // a final status, once whole, stays
    if (AnswerSettled(part)) {
      Check(settled);
      Check(SameStatus(status, final_status));
    }
  }
  return 0;
}
