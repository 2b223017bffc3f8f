// Test helper: writes a built compound document to a temporary file and reads one stream
// from it through CompoundFile, reporting every step's outcome for the assertions.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "tests/cfb/cfb_builder.h"
#include "cfb/compound_file.h"

namespace CfbTest {

struct Outcome {
  bool opened = false;
  Cfb::CF_RESULT sized = Cfb::CfFailed;  // FileSize
  uint64_t size = 0;
  Cfb::CF_RESULT read = Cfb::CfFailed;   // ReadFile into a vector
  std::vector<char> data;

  bool Failed() const { return !opened || read != Cfb::CfSuccess; }
  bool Delivered(const std::vector<uint8_t>& expected) const {
    return opened && read == Cfb::CfSuccess && data.size() == expected.size() &&
           std::equal(data.begin(), data.end(), expected.begin(),
                      [](char a, uint8_t b) { return static_cast<uint8_t>(a) == b; });
  }
};

// One outcome per name, all read through one open document.
inline std::vector<Outcome> ReadStreams(const TempDir& dir, const std::vector<uint8_t>& file,
                                        const std::vector<std::u16string>& names) {
  std::vector<Outcome> all(names.size());
  Cfb::CompoundFile cf;
  const bool opened = cf.Open(dir.Write("doc.xls", file));
  for (size_t i = 0; i < names.size() && opened; ++i) {
    Outcome& o = all[i];
    o.opened = true;
    o.sized = cf.FileSize(names[i], o.size);
    o.read = cf.ReadFile(names[i], o.data);
  }
  return all;
}

inline Outcome ReadStream(const TempDir& dir, const std::vector<uint8_t>& file,
                          const std::u16string& name = u"Workbook") {
  return ReadStreams(dir, file, {name})[0];
}

}  // namespace CfbTest
