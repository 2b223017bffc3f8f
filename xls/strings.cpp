#include "xls/strings.h"

#include <algorithm>

namespace Xls {

std::string narrow_string(const std::u16string& wide) {
  std::string out(wide.size(), '?');
  for (size_t i = 0; i < wide.size(); ++i)
    if (wide[i] <= 0xFF) out[i] = static_cast<char>(wide[i]);
  return out;
}

void LargeString::Append(ByteSpan chars, bool wideSegment, uint32_t count) {
  // `chars` already holds no more than count units; the storage width is the string's own.
  // n never exceeds what `chars` holds, so the loops below read inside it.
  const size_t n = std::min<size_t>(count, chars.size() / (wideSegment ? 2 : 1));
  if (n == 0) return;
  const uint8_t* p = chars.data();
  const auto unit = [p](size_t i) { return static_cast<uint16_t>(p[2 * i] | (p[2 * i + 1] << 8)); };
  if (IsWide()) {
    const size_t at = wideText.size();
    wideText.resize(at + n);
    for (size_t i = 0; i < n; ++i) wideText[at + i] = wideSegment ? unit(i) : p[i];
  } else if (!wideSegment) {
    narrowText.append(reinterpret_cast<const char*>(p), n);  // Latin-1 stays as it is
  } else {
    const size_t at = narrowText.size();
    narrowText.resize(at + n);
    for (size_t i = 0; i < n; ++i) {
      const uint16_t u = unit(i);
      narrowText[at + i] = u <= 0xFF ? static_cast<char>(u) : '?';
    }
  }
}

uint32_t LargeString::Read(ByteSpan bytes) {
  const uint16_t count = bytes.U16(0);
  flags = static_cast<int8_t>(bytes.U8(2));
  size_t pos = 3;
  richTextRuns = 0;
  phoneticSize = 0;
  if (flags & 0x08) {
    richTextRuns = bytes.U16(pos);
    pos += 2;
  }
  if (flags & 0x04) {
    phoneticSize = bytes.U32(pos);
    pos += 4;
  }
  wideText.clear();
  narrowText.clear();
  if (count == 0) return static_cast<uint32_t>(std::min<size_t>(3, bytes.size()));
  const size_t width = (flags & 1) ? 2 : 1;
  Append(bytes.Sub(pos, count * width), width == 2, count);
  pos += count * width + 4 * size_t{richTextRuns} + phoneticSize;
  return static_cast<uint32_t>(std::min(pos, bytes.size()));
}

uint32_t LargeString::ContinueRead(ByteSpan bytes, uint32_t count) {
  if (count == 0 || bytes.empty()) return 0;
  const uint8_t segmentFlags = bytes.U8(0);
  if (flags == -1) flags = static_cast<int8_t>(segmentFlags);
  const size_t width = (segmentFlags & 1) ? 2 : 1;
  const ByteSpan chars = bytes.Sub(1, size_t{count} * width);
  Append(chars, width == 2, count);
  return static_cast<uint32_t>(1 + chars.size());
}

uint32_t SmallString::Read(ByteSpan bytes) {
  const uint8_t count = bytes.U8(0);
  flags = bytes.U8(1);
  wideText.clear();
  narrowText.clear();
  const size_t width = IsWide() ? 2 : 1;
  const ByteSpan chars = bytes.Sub(2, count * width);
  for (size_t i = 0; i < chars.size() / width; ++i) {
    if (IsWide())
      wideText += static_cast<char16_t>(chars.U16(2 * i));
    else
      narrowText += static_cast<char>(chars.U8(i));
  }
  return static_cast<uint32_t>(std::min<size_t>(bytes.size(), 2 + count * width));
}

}  // namespace Xls
