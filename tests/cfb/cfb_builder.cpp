#include "tests/cfb/cfb_builder.h"

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace CfbTest {

namespace {

constexpr uint32_t kFatMark = 0xFFFFFFFD, kDifatMark = 0xFFFFFFFC, kNone = 0xFFFFFFFF;
constexpr size_t kCutoff = 4096, kMini = 64, kEntry = 128;

size_t CeilDiv(size_t a, size_t b) { return (a + b - 1) / b; }

// The format's name order for the ASCII names the tests use.
bool NameLess(const std::u16string& a, const std::u16string& b) {
  if (a.size() != b.size()) return a.size() < b.size();
  for (size_t i = 0; i < a.size(); ++i) {
    auto up = [](char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c; };
    if (up(a[i]) != up(b[i])) return up(a[i]) < up(b[i]);
  }
  return false;
}

struct Entry {
  std::u16string name;
  uint8_t type = 0;
  uint32_t left = kNone, right = kNone, child = kNone, start = kEnd;
  uint64_t size = 0;
};

// Links `ids` (sorted by name) into a balanced sibling tree; returns its top entry.
uint32_t LinkTree(std::vector<Entry>& entries, const std::vector<uint32_t>& ids, size_t lo, size_t hi) {
  if (lo >= hi) return kNone;
  const size_t mid = lo + (hi - lo) / 2;
  Entry& e = entries[ids[mid]];
  e.left = LinkTree(entries, ids, lo, mid);
  entries[ids[mid]].right = LinkTree(entries, ids, mid + 1, hi);
  return ids[mid];
}

}  // namespace

size_t Builder::AddStream(const std::u16string& name, std::vector<uint8_t> data) {
  nodes_.push_back({name, 2, std::move(data), -1, static_cast<int>(streams_)});
  return streams_++;
}

size_t Builder::AddStorageWithStream(const std::u16string& storage, const std::u16string& name,
                                     std::vector<uint8_t> data) {
  nodes_.push_back({storage, 1, {}, -1, -1});
  const int parent = static_cast<int>(nodes_.size()) - 1;
  nodes_.push_back({name, 2, std::move(data), parent, static_cast<int>(streams_)});
  return streams_++;
}

std::vector<uint8_t> Builder::Build(Layout* out) const {
  Layout L;
  const size_t ss = version_ == 4 ? 4096 : 512;
  const size_t perFat = ss / 4;
  L.sectorSize = static_cast<uint32_t>(ss);
  L.streamStart.assign(streams_, kEnd);
  L.streamEntry.assign(streams_, 0);
  L.streamChain.assign(streams_, {});
  uint32_t next = 0;  // next free sector
  std::vector<std::vector<uint32_t>> chains;  // every FAT chain, for the table

  // Regular streams, one after another or interleaved.
  std::vector<size_t> regular;
  for (size_t i = 0; i < nodes_.size(); ++i)
    if (nodes_[i].type == 2 && nodes_[i].data.size() >= kCutoff) regular.push_back(i);
  std::vector<std::vector<uint32_t>> regularChains(regular.size());
  if (interleave_) {
    for (bool more = true; more;) {
      more = false;
      for (size_t r = 0; r < regular.size(); ++r)
        if (regularChains[r].size() < CeilDiv(nodes_[regular[r]].data.size(), ss)) {
          regularChains[r].push_back(next++);
          more = true;
        }
    }
  } else {
    for (size_t r = 0; r < regular.size(); ++r)
      for (size_t k = 0; k < CeilDiv(nodes_[regular[r]].data.size(), ss); ++k)
        regularChains[r].push_back(next++);
  }
  for (size_t r = 0; r < regular.size(); ++r) {
    L.streamChain[nodes_[regular[r]].streamIndex] = regularChains[r];
    chains.push_back(regularChains[r]);
  }

  // Small streams in the mini stream, then its container, the mini FAT and the directory.
  std::vector<uint8_t> miniData;
  std::vector<uint32_t> miniFat;
  for (const Node& n : nodes_) {
    if (n.type != 2 || n.data.size() >= kCutoff || n.data.empty()) continue;
    std::vector<uint32_t>& chain = L.streamChain[n.streamIndex];
    for (size_t k = 0; k < CeilDiv(n.data.size(), kMini); ++k) {
      chain.push_back(static_cast<uint32_t>(miniFat.size()));
      miniFat.push_back(kEnd);
      if (k > 0) miniFat[chain[k - 1]] = chain[k];
    }
    miniData.insert(miniData.end(), n.data.begin(), n.data.end());
    miniData.resize(CeilDiv(miniData.size(), kMini) * kMini, 0);
  }
  for (size_t k = 0; k < CeilDiv(miniData.size(), ss); ++k) L.miniStreamSectors.push_back(next++);
  for (size_t k = 0; k < CeilDiv(miniFat.size() * 4, ss); ++k) L.miniFatSectors.push_back(next++);
  const size_t entryCount = 1 + nodes_.size();
  for (size_t k = 0; k < CeilDiv(entryCount * kEntry, ss); ++k) L.dirSectors.push_back(next++);
  chains.push_back(L.miniStreamSectors);
  chains.push_back(L.miniFatSectors);
  chains.push_back(L.dirSectors);

  // FAT and DIFAT sizes depend on each other and on the total: grow until the FAT covers all.
  auto difatFor = [&](size_t f) { return f > 109 ? CeilDiv(f - 109, perFat - 1) : size_t{0}; };
  size_t f = extraFat_ + 1;
  while (f * perFat < next + f + difatFor(f)) ++f;
  const size_t d = difatFor(f);
  for (size_t k = 0; k < f; ++k) L.fatSectors.push_back(next++);
  for (size_t k = 0; k < d; ++k) L.difatSectors.push_back(next++);

  std::vector<uint32_t> fat(f * perFat, kFree);
  for (const auto& chain : chains)
    for (size_t k = 0; k < chain.size(); ++k)
      fat[chain[k]] = k + 1 < chain.size() ? chain[k + 1] : kEnd;
  for (uint32_t s : L.fatSectors) fat[s] = kFatMark;
  for (uint32_t s : L.difatSectors) fat[s] = kDifatMark;

  std::vector<uint8_t> file(ss + size_t{next} * ss, 0);
  auto sectorAt = [&](uint32_t s) { return ss + size_t{s} * ss; };
  auto putChain = [&](const std::vector<uint32_t>& chain, const std::vector<uint8_t>& data) {
    for (size_t k = 0; k < chain.size(); ++k) {
      const size_t part = std::min(ss, data.size() - k * ss);
      std::copy_n(data.begin() + k * ss, part, file.begin() + sectorAt(chain[k]));
    }
  };
  for (size_t r = 0; r < regular.size(); ++r) putChain(regularChains[r], nodes_[regular[r]].data);
  putChain(L.miniStreamSectors, miniData);
  for (size_t k = 0; k < miniFat.size(); ++k)
    Put32(file, sectorAt(L.miniFatSectors[k * 4 / ss]) + (k * 4) % ss, miniFat[k]);
  for (size_t k = 0; k < fat.size(); ++k)
    Put32(file, sectorAt(L.fatSectors[k / perFat]) + (k % perFat) * 4, fat[k]);
  for (size_t k = 0; k < d; ++k) {
    const size_t at = sectorAt(L.difatSectors[k]);
    for (size_t j = 0; j < perFat - 1; ++j) {
      const size_t fatIndex = 109 + k * (perFat - 1) + j;
      Put32(file, at + 4 * j, fatIndex < f ? L.fatSectors[fatIndex] : kFree);
    }
    Put32(file, at + 4 * (perFat - 1), k + 1 < d ? L.difatSectors[k + 1] : kEnd);
  }

  // Directory: entry 0 the root, entry i + 1 node i; siblings as balanced name-ordered trees.
  std::vector<Entry> entries(entryCount);
  entries[0].name = u"Root Entry";
  entries[0].type = 5;
  entries[0].start = L.miniStreamSectors.empty() ? kEnd : L.miniStreamSectors[0];
  entries[0].size = miniData.size();
  for (size_t i = 0; i < nodes_.size(); ++i) {
    Entry& e = entries[i + 1];
    const Node& n = nodes_[i];
    e.name = n.name;
    e.type = n.type;
    if (n.type == 2) {
      const auto& chain = L.streamChain[n.streamIndex];
      e.start = chain.empty() ? kEnd : chain[0];
      e.size = n.data.size();
      L.streamStart[n.streamIndex] = e.start;
      L.streamEntry[n.streamIndex] = static_cast<uint32_t>(i + 1);
    } else {
      e.start = 0;
    }
  }
  for (int parent = -1; parent < static_cast<int>(nodes_.size()); ++parent) {
    std::vector<uint32_t> ids;
    for (size_t i = 0; i < nodes_.size(); ++i)
      if (nodes_[i].parent == parent) ids.push_back(static_cast<uint32_t>(i + 1));
    std::sort(ids.begin(), ids.end(),
              [&](uint32_t a, uint32_t b) { return NameLess(entries[a].name, entries[b].name); });
    entries[parent + 1].child = LinkTree(entries, ids, 0, ids.size());
  }
  for (size_t i = 0; i < CeilDiv(entryCount * kEntry, ss) * ss / kEntry; ++i) {
    const size_t at = sectorAt(L.dirSectors[i * kEntry / ss]) + (i * kEntry) % ss;
    const Entry e = i < entries.size() ? entries[i] : Entry{};
    for (size_t u = 0; u < e.name.size(); ++u) Put16(file, at + 2 * u, e.name[u]);
    Put16(file, at + kEntryNameLength, e.name.empty() ? 0 : static_cast<uint16_t>(2 * e.name.size() + 2));
    file[at + kEntryType] = e.type;
    file[at + kEntryType + 1] = 1;  // black
    Put32(file, at + kEntryLeft, e.left);
    Put32(file, at + kEntryRight, e.right);
    Put32(file, at + kEntryChild, e.child);
    Put32(file, at + kEntryStart, i < entries.size() ? e.start : 0);
    Put64(file, at + kEntrySize, e.size);
  }

  // Header.
  static const uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  std::copy_n(kSignature, 8, file.begin());
  Put16(file, 24, 0x3E);
  Put16(file, 26, version_);
  Put16(file, 28, 0xFFFE);
  Put16(file, 30, version_ == 4 ? 12 : 9);
  Put16(file, 32, 6);
  Put32(file, 40, version_ == 4 ? static_cast<uint32_t>(L.dirSectors.size()) : 0);
  Put32(file, 44, static_cast<uint32_t>(f));
  Put32(file, 48, L.dirSectors[0]);
  Put32(file, 56, 4096);
  Put32(file, 60, L.miniFatSectors.empty() ? kEnd : L.miniFatSectors[0]);
  Put32(file, 64, static_cast<uint32_t>(L.miniFatSectors.size()));
  Put32(file, 68, d ? L.difatSectors[0] : kEnd);
  Put32(file, 72, static_cast<uint32_t>(d));
  for (size_t k = 0; k < 109; ++k) Put32(file, 76 + 4 * k, k < f ? L.fatSectors[k] : kFree);

  if (out) *out = L;
  return file;
}

void Put16(std::vector<uint8_t>& file, size_t at, uint16_t v) {
  for (size_t i = 0; i < 2; ++i) file.at(at + i) = static_cast<uint8_t>(v >> (8 * i));
}
void Put32(std::vector<uint8_t>& file, size_t at, uint32_t v) {
  for (size_t i = 0; i < 4; ++i) file.at(at + i) = static_cast<uint8_t>(v >> (8 * i));
}
void Put64(std::vector<uint8_t>& file, size_t at, uint64_t v) {
  for (size_t i = 0; i < 8; ++i) file.at(at + i) = static_cast<uint8_t>(v >> (8 * i));
}

size_t SectorOffset(const Layout& layout, uint32_t sector) {
  return (size_t{sector} + 1) * layout.sectorSize;
}
size_t FatEntryOffset(const Layout& layout, uint32_t sector) {
  const size_t perFat = layout.sectorSize / 4;
  return SectorOffset(layout, layout.fatSectors.at(sector / perFat)) + (sector % perFat) * 4;
}
size_t MiniFatEntryOffset(const Layout& layout, uint32_t miniSector) {
  const size_t at = size_t{miniSector} * 4;
  return SectorOffset(layout, layout.miniFatSectors.at(at / layout.sectorSize)) + at % layout.sectorSize;
}
size_t DirEntryOffset(const Layout& layout, uint32_t entry) {
  const size_t at = size_t{entry} * kEntry;
  return SectorOffset(layout, layout.dirSectors.at(at / layout.sectorSize)) + at % layout.sectorSize;
}

std::vector<uint8_t> Pattern(size_t size, uint32_t seed) {
  std::vector<uint8_t> bytes(size);
  uint32_t x = seed * 2654435761u + 1;
  for (auto& b : bytes) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    b = static_cast<uint8_t>(x);
  }
  return bytes;
}

TempDir::TempDir() {
  const char* base = getenv("TMPDIR");
  std::string templ = std::string(base && *base ? base : "/tmp") + "/cfbtest-XXXXXX";
  if (!mkdtemp(templ.data())) throw std::runtime_error("mkdtemp failed");
  path_ = templ;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
  const std::string file = path_ + "/" + name;
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + file);
  return file;
}

}  // namespace CfbTest
