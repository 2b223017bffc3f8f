#include "xls/segmented_bytes.h"

#include <algorithm>

#include "xls/record.h"

namespace Xls {

uint32_t SegmentedBytes::Frame(ByteOrder::ByteSpan bytes, std::vector<uint32_t>& starts) {
  parts_.clear();
  starts.clear();
  hint_ = 0;
  size_ = 0;
  return ForEachPart(bytes, [this, &starts](ByteOrder::ByteSpan part) {
    if (!parts_.empty()) starts.push_back(static_cast<uint32_t>(size_));
    parts_.push_back({part.data(), size_, part.size()});
    size_ += part.size();
  });
}

const SegmentedBytes::Part& SegmentedBytes::PartOf(size_t pos) const {
  size_t i = hint_;
  if (pos < parts_[i].start) {
    // Backwards: the last part starting at or before pos (parts may be empty).
    i = static_cast<size_t>(std::upper_bound(parts_.begin(), parts_.end(), pos,
                                             [](size_t p, const Part& part) { return p < part.start; }) -
                            parts_.begin()) - 1;
  }
  // pos < size_, so some part at or after i holds it.
  while (pos >= parts_[i].start + parts_[i].size) ++i;
  hint_ = i;
  return parts_[i];
}

void SegmentedBytes::CopyOut(size_t offset, size_t count, uint8_t* out) const {
  while (count > 0) {
    const Part& part = PartOf(offset);
    const size_t in = offset - part.start;
    const size_t take = std::min(count, part.size - in);
    std::copy(part.data + in, part.data + in + take, out);
    out += take;
    offset += take;
    count -= take;
  }
}

uint32_t SegmentedBytes::GetAcross(size_t pos, size_t width) const {
  if (pos >= size_ || size_ - pos < width) return 0;
  uint8_t b[4] = {};
  const Part& part = PartOf(pos);
  const size_t in = pos - part.start;
  if (part.size - in >= width)
    std::copy(part.data + in, part.data + in + width, b);
  else
    CopyOut(pos, width, b);
  return static_cast<uint32_t>(b[0] | b[1] << 8 | b[2] << 16) | static_cast<uint32_t>(b[3]) << 24;
}

ByteOrder::ByteSpan SegmentedBytes::Sub(size_t offset, size_t count) const {
  if (offset >= size_) return ByteOrder::ByteSpan();
  const size_t n = std::min(count, size_ - offset);
  if (n == 0) return ByteOrder::ByteSpan();
  const Part& part = PartOf(offset);
  const size_t in = offset - part.start;
  if (part.size - in >= n) return ByteOrder::ByteSpan(part.data + in, n);
  crossing_.resize(n);
  CopyOut(offset, n, crossing_.data());
  return ByteOrder::ByteSpan(crossing_.data(), n);
}

}  // namespace Xls
