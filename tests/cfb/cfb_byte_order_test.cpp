// Little-endian field reads and writes, including the cases where a short width, a sign or
// a buffer end changes the result.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "bytes/byte_order.h"

namespace {

using ByteOrder::LittleEndian;

TEST(LittleEndian, ReadsLeastSignificantByteFirst) {
  const uint8_t bytes[] = {0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF, 0x80};
  uint16_t u16 = 0;
  LittleEndian::Read(bytes, u16, 0);
  EXPECT_EQ(u16, 0x1234);
  int32_t i32 = 0;
  LittleEndian::Read(bytes, i32, 2);
  EXPECT_EQ(i32, -2);
  uint16_t oneByte = 0xFFFF;
  LittleEndian::Read(bytes, oneByte, 0, 1);  // one byte only, into a wider value
  EXPECT_EQ(oneByte, 0x34);
  int16_t shortSigned = 0;
  LittleEndian::Read(bytes, shortSigned, 6, 1);  // no sign extension from a short field
  EXPECT_EQ(shortSigned, 0x80);
  int8_t i8 = 0;
  LittleEndian::Read(reinterpret_cast<const char*>(bytes), i8, 6);
  EXPECT_EQ(i8, -128);
  uint32_t wide = 0;
  LittleEndian::Read(bytes, wide, 0, 8);  // a width beyond the type is the type's width
  EXPECT_EQ(wide, 0xFFFE1234u);
  int64_t i64 = 0;
  const uint8_t eight[] = {1, 2, 3, 4, 5, 6, 7, 0x88};
  LittleEndian::Read(eight, i64, 0);
  EXPECT_EQ(static_cast<uint64_t>(i64), 0x8807060504030201u);
}

TEST(LittleEndian, WritesLowOrderBytesWithTheSign) {
  uint8_t out[10] = {};
  LittleEndian::Write(out, uint16_t{0x1234}, 1);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[1], 0x34);
  EXPECT_EQ(out[2], 0x12);
  LittleEndian::Write(out, int16_t{-2}, 0, 8);  // wider than the type: the sign carries on
  for (int i = 1; i < 8; ++i) EXPECT_EQ(out[i], 0xFF) << i;
  EXPECT_EQ(out[0], 0xFE);
  EXPECT_EQ(out[8], 0);
  LittleEndian::Write(reinterpret_cast<char*>(out), uint32_t{0xAABBCCDD}, 0, 2);  // cut short
  EXPECT_EQ(out[0], 0xDD);
  EXPECT_EQ(out[1], 0xCC);
  EXPECT_EQ(out[2], 0xFF);
}

TEST(LittleEndian, VectorFormsStopAtTheEnd) {
  const std::vector<char> bytes = {0x11, 0x22, 0x33};
  uint32_t v = 0xDEADBEEF;
  LittleEndian::Read(bytes, v, 1);  // two bytes present, the rest contribute nothing
  EXPECT_EQ(v, 0x3322u);
  LittleEndian::Read(bytes, v, 3);
  EXPECT_EQ(v, 0u);
  LittleEndian::Read(bytes, v, SIZE_MAX);
  EXPECT_EQ(v, 0u);

  std::vector<uint8_t> out(3, 0);
  LittleEndian::Write(out, uint32_t{0x44332211}, 1);
  EXPECT_EQ(out, (std::vector<uint8_t>{0, 0x11, 0x22}));
  LittleEndian::Write(out, uint32_t{0x44332211}, SIZE_MAX - 1);
  EXPECT_EQ(out.size(), 3u);
  std::vector<char> chars(2, 0);
  LittleEndian::Write(chars, int32_t{-1}, 1);
  EXPECT_EQ(chars, (std::vector<char>{0, '\xFF'}));
}

TEST(LittleEndian, StringsOfUnits) {
  const std::vector<uint8_t> bytes = {'S', 0, 'e', 0, 0x3A, 0x04, 't'};
  char16_t text[5] = {u'?', u'?', u'?', u'?', u'?'};
  LittleEndian::ReadString(bytes, text, 0, 5);
  EXPECT_EQ(std::u16string(text, 5), (std::u16string{u'S', u'e', 0x043A, u't', 0}));
  // Raw and vector writers agree, element i at pos + i * width.
  const int16_t values[] = {-2, 0x0102};
  uint8_t raw[6] = {};
  std::vector<uint8_t> vec(5, 0);
  LittleEndian::WriteString(raw, values, 1, 2);
  LittleEndian::WriteString(vec, values, 1, 2);
  EXPECT_EQ(std::vector<uint8_t>(raw, raw + 5), (std::vector<uint8_t>{0, 0xFE, 0xFF, 0x02, 0x01}));
  EXPECT_EQ(vec, std::vector<uint8_t>(raw, raw + 5));
  LittleEndian::WriteString(vec, values, 4, 2);  // only the first byte fits
  EXPECT_EQ(vec[4], 0xFE);
  EXPECT_EQ(vec.size(), 5u);
}

}  // namespace
