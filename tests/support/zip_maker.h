// Zip archives made byte by byte for the reader tests: entries stored or deflated (or given
// as ready raw deflate data, for bombs), the central directory and end record, and files
// written to a scratch folder that goes away with the test.
#pragma once

#include <unistd.h>
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace zip_maker {

struct Entry {
  std::string name;
  std::string data;  // what the entry inflates to (unless `raw` is set)
  bool deflate = true;
  // Ready compressed bytes (method 8) with the sizes and CRC to declare, for hostile entries.
  bool raw = false;
  std::string rawData;
  uint32_t declaredSize = 0;
  uint32_t declaredCrc = 0;
};

inline Entry File(std::string name, std::string data, bool deflate = true) {
  Entry e;
  e.name = std::move(name);
  e.data = std::move(data);
  e.deflate = deflate;
  return e;
}

inline Entry RawEntry(std::string name, std::string deflated, uint32_t declaredSize, uint32_t declaredCrc) {
  Entry e;
  e.name = std::move(name);
  e.raw = true;
  e.rawData = std::move(deflated);
  e.declaredSize = declaredSize;
  e.declaredCrc = declaredCrc;
  return e;
}

inline void Put16(std::string& out, uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}
inline void Put32(std::string& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// Raw deflate (no zlib header) of `data`.
inline std::string Deflate(const std::string& data) {
  z_stream z{};
  deflateInit2(&z, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&z, data.size()), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

// A raw deflate stream that inflates to `copies` times `chunk`, made without ever holding
// the inflated bytes: each chunk is compressed after a full flush, so its bytes repeat.
inline std::string DeflateRepeated(const std::string& chunk, uint64_t copies) {
  z_stream z{};
  deflateInit2(&z, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
  auto run = [&](int flush, const std::string& in) {
    std::string out(deflateBound(&z, in.size()) + 64, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    z.avail_in = static_cast<uInt>(in.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, flush);
    out.resize(out.size() - z.avail_out);
    return out;
  };
  run(Z_FULL_FLUSH, chunk);  // the first block may differ from the steady state
  const std::string first = run(Z_FULL_FLUSH, chunk);
  std::string stream;
  for (uint64_t i = 0; i < copies; ++i) stream += first;
  stream += run(Z_FINISH, std::string());
  deflateEnd(&z);
  return stream;
}

inline std::string Archive(const std::vector<Entry>& entries) {
  std::string out, directory;
  for (const Entry& e : entries) {
    const uint32_t offset = static_cast<uint32_t>(out.size());
    const std::string stored = e.raw ? e.rawData : e.deflate ? Deflate(e.data) : e.data;
    const uint32_t crc = e.raw ? e.declaredCrc
                               : static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(e.data.data()),
                                                             static_cast<uInt>(e.data.size())));
    const uint32_t size = e.raw ? e.declaredSize : static_cast<uint32_t>(e.data.size());
    const uint16_t method = e.raw || e.deflate ? 8 : 0;
    auto header = [&](std::string& to, bool central) {
      Put32(to, central ? 0x02014b50 : 0x04034b50);
      if (central) Put16(to, 20);  // made by
      Put16(to, 20);               // needed
      Put16(to, 0);                // flags
      Put16(to, method);
      Put32(to, 0);  // time, date
      Put32(to, crc);
      Put32(to, static_cast<uint32_t>(stored.size()));
      Put32(to, size);
      Put16(to, static_cast<uint32_t>(e.name.size()));
      Put16(to, 0);  // extra
      if (central) {
        Put16(to, 0);  // comment
        Put16(to, 0);  // disk
        Put16(to, 0);  // internal attributes
        Put32(to, 0);  // external attributes
        Put32(to, offset);
      }
      to += e.name;
    };
    header(out, false);
    out += stored;
    header(directory, true);
  }
  const uint32_t directoryOffset = static_cast<uint32_t>(out.size());
  out += directory;
  Put32(out, 0x06054b50);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, static_cast<uint32_t>(entries.size()));
  Put16(out, static_cast<uint32_t>(entries.size()));
  Put32(out, static_cast<uint32_t>(directory.size()));
  Put32(out, directoryOffset);
  Put16(out, 0);
  return out;
}

class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tallyform-zip-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string Write(const std::string& name, const std::string& bytes) const {
    const std::string path = path_ + "/" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

 private:
  std::string path_;
};

}  // namespace zip_maker
