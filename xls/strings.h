// The two BIFF8 string layouts (LargeString: 16-bit count, SmallString: 8-bit count) and the
// conversions between 8-bit and 16-bit units, which follow Latin-1: byte b is unit b, and a
// unit above 255 has no 8-bit form and becomes '?'. Each string owns its text.
#pragma once

#include <algorithm>
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
template <typename Data>  // a ByteSpan, or any view with its U8, U16, Sub and size
size_t ReadSplitCharacters(const Data& data, const std::vector<uint32_t>& boundaries, size_t& next,
                           size_t pos, uint32_t count, LargeString& out) {
  size_t width = out.IsWide() ? 2 : 1;
  bool wideSegment = width == 2;
  uint32_t left = count;
  bool first = true;
  while (left > 0 && pos < data.size()) {
    if (!first) {
      // A new segment: its own flags byte gives the width of what follows.
      wideSegment = data.U8(pos) & 1;
      width = wideSegment ? 2 : 1;
      ++pos;
    }
    first = false;
    const size_t end = next < boundaries.size() ? boundaries[next] : data.size();
    const size_t room = end > pos ? (end - pos) / width : 0;
    const uint32_t take = static_cast<uint32_t>(std::min<size_t>(left, room));
    const size_t before = out.Length();
    const auto chars = data.Sub(pos, size_t{take} * width);
    if (out.IsWide()) {
      for (size_t i = 0; i < chars.size() / width; ++i)
        out.wideText += wideSegment ? static_cast<char16_t>(chars.U16(2 * i)) : chars.U8(i);
    } else {
      for (size_t i = 0; i < chars.size() / width; ++i) {
        const uint16_t u = wideSegment ? chars.U16(2 * i) : chars.U8(i);
        out.narrowText += u <= 0xFF ? static_cast<char>(u) : '?';
      }
    }
    const size_t got = out.Length() - before;
    left -= static_cast<uint32_t>(got);
    pos += got * width;
    if (left == 0) break;
    if (next >= boundaries.size()) break;  // cut short by the end of the data
    // The rest continues at the boundary (a partial unit before it is dropped).
    pos = boundaries[next];
    ++next;
  }
  while (next < boundaries.size() && boundaries[next] <= pos) ++next;
  return pos;
}

}  // namespace Xls
