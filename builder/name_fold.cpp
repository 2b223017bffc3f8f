#include "builder/name_fold.h"

#include <utf8proc.h>

#include <cstdlib>
#include <memory>

#include "builder/settings_index.h"

namespace {

bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

}  // namespace

void FoldNameInPlace(std::string& text) {
  if (IsAscii(text)) {
    FoldAsciiInPlace(text);
    return;
  }
  utf8proc_uint8_t* folded = nullptr;
  const auto options =
      static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPOSE | UTF8PROC_CASEFOLD);
  const utf8proc_ssize_t size = utf8proc_map(reinterpret_cast<const utf8proc_uint8_t*>(text.data()),
                                             static_cast<utf8proc_ssize_t>(text.size()), &folded, options);
  const std::unique_ptr<utf8proc_uint8_t, decltype(&std::free)> owned(folded, std::free);
  // Not UTF-8 (the readers hand out UTF-8, so only a damaged text): its ASCII letters still fold.
  if (size < 0) {
    FoldAsciiInPlace(text);
    return;
  }
  text.assign(reinterpret_cast<const char*>(folded), static_cast<size_t>(size));
}

std::string FoldName(std::string_view text) {
  std::string folded(text);
  FoldNameInPlace(folded);
  return folded;
}
