// Test helper: builds BIFF8 record streams byte by byte, for the cases no writer produces
// (truncated records, absurd counts, missing DBCELL). Little-endian throughout.
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "bytes/byte_span.h"

namespace XlsTest {

class Bytes {
 public:
  Bytes& u8(uint8_t v) { b.push_back(v); return *this; }
  Bytes& u16(uint16_t v) { return u8(v & 0xFF).u8(v >> 8); }
  Bytes& u32(uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
  Bytes& f64(double d) {
    uint64_t v;
    std::memcpy(&v, &d, 8);
    return u32(static_cast<uint32_t>(v)).u32(static_cast<uint32_t>(v >> 32));
  }
  Bytes& str8(const std::string& s) {
    for (unsigned char c : s) u8(c);
    return *this;
  }
  Bytes& str16(const std::u16string& s) {
    for (char16_t c : s) u16(c);
    return *this;
  }
  Bytes& raw(const std::vector<uint8_t>& v) {
    b.insert(b.end(), v.begin(), v.end());
    return *this;
  }
  std::vector<uint8_t> b;
};

// A stream of records; each record's length field is its data size unless given.
class Stream {
 public:
  Stream& rec(uint16_t code, const Bytes& data) { return rec(code, data, static_cast<uint16_t>(data.b.size())); }
  Stream& rec(uint16_t code, const Bytes& data, uint16_t declaredLength) {
    out.u16(code).u16(declaredLength).raw(data.b);
    return *this;
  }
  Stream& bof(uint16_t type) {
    return rec(0x0809, Bytes().u16(0x0600).u16(type).u16(0).u16(0).u32(0).u32(0));
  }
  Stream& eof() { return rec(0x000A, Bytes()); }
  Stream& row(uint16_t r) { return rec(0x0208, Bytes().u16(r).u16(0).u16(1).u16(255).u16(0).u16(0).u32(0x100)); }
  Stream& dbcell() { return rec(0x00D7, Bytes().u32(0)); }
  Stream& number(uint16_t r, uint16_t c, double v) { return rec(0x0203, Bytes().u16(r).u16(c).u16(15).f64(v)); }
  Stream& rk(uint16_t r, uint16_t c, uint32_t v) { return rec(0x027E, Bytes().u16(r).u16(c).u16(15).u32(v)); }
  Stream& labelsst(uint16_t r, uint16_t c, uint32_t i) { return rec(0x00FD, Bytes().u16(r).u16(c).u16(15).u32(i)); }
  Stream& blank(uint16_t r, uint16_t c) { return rec(0x0201, Bytes().u16(r).u16(c).u16(15)); }
  // Globals with a BOUNDSHEET per name and an SST of 8-bit strings.
  Stream& globals(std::initializer_list<std::string> sst = {}, int sheets = 1) {
    bof(0x0005);
    for (int i = 0; i < sheets; ++i)
      rec(0x0085, Bytes().u32(0).u8(0).u8(0).u8(6).u8(0).str8("Sheet" + std::to_string(i + 1)));
    Bytes s;
    s.u32(static_cast<uint32_t>(sst.size())).u32(static_cast<uint32_t>(sst.size()));
    for (const std::string& t : sst) s.u16(static_cast<uint16_t>(t.size())).u8(0).str8(t);
    rec(0x00FC, s);
    return eof();
  }
  ByteOrder::ByteSpan span() const { return ByteOrder::ByteSpan(out.b.data(), out.b.size()); }
  Bytes out;
};

}  // namespace XlsTest
