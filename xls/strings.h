// The two BIFF8 string layouts (LargeString: 16-bit count, SmallString: 8-bit count) and the
// conversions between 8-bit and 16-bit units, which follow Latin-1: byte b is unit b, and a
// unit above 255 has no 8-bit form and becomes '?'. Each string owns its text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bytes/byte_span.h"
#include "cfb/compound_file.h"

namespace Xls {

using ByteOrder::ByteSpan;

std::string narrow_string(const std::u16string& wide);
using Cfb::widen_string;

class LargeString {
 public:
  // A string wholly inside `bytes` (count, flags, optional run count and phonetic size,
  // characters, runs, phonetic block); returns the bytes consumed, clamped to `bytes`.
  uint32_t Read(ByteSpan bytes);
  // One continued segment: a flags byte, then up to `count` characters in that segment's
  // width, appended in this string's own width. Returns 1 + count x width (clamped), 0 for 0.
  uint32_t ContinueRead(ByteSpan bytes, uint32_t count);

  bool IsWide() const { return flags >= 0 && (flags & 1); }
  size_t Length() const { return IsWide() ? wideText.size() : narrowText.size(); }

  std::u16string wideText;
  std::string narrowText;
  int8_t flags = -1;
  uint16_t richTextRuns = 0;
  uint32_t phoneticSize = 0;

 private:
  void Append(ByteSpan chars, bool wideSegment, uint32_t count);
};

class SmallString {
 public:
  uint32_t Read(ByteSpan bytes);  // 2 + count x width, clamped to `bytes`

  bool IsWide() const { return flags & 1; }
  std::u16string wideText;  // the text when IsWide()
  std::string narrowText;   // the text otherwise
  uint8_t flags = 0;
};

// Reads `count` characters of a string whose header ends at `pos` in a record's data, where
// CONTINUE records began at `boundaries` (ascending) and a character run cut at a boundary
// resumes there after a flags byte of its own. `next` is the index of the first boundary
// not yet passed; it is advanced past the boundaries used. Returns the offset after the
// last character. Characters past the end of `data` are not made.
size_t ReadSplitCharacters(ByteSpan data, const std::vector<uint32_t>& boundaries, size_t& next,
                           size_t pos, uint32_t count, LargeString& out);

}  // namespace Xls
