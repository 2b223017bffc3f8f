#include "zip/zip_archive.h"

#include <algorithm>

#include "zip/end_record.h"
#include "zip/libzip_calls.h"

namespace Zip {
namespace {

std::string NormalName(std::string_view name) {
  std::string out(name);
  std::replace(out.begin(), out.end(), '\\', '/');
  const size_t start = out.find_first_not_of('/');
  return start == std::string::npos ? std::string() : out.substr(start);
}

std::string Folded(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// Only reached once an archive is open, which needs the calls loaded.
const LibZipCalls& Calls() { return *LibZip(); }

// Sizes at the zip64 marker mean the entry needs zip64 fields, which are refused.
constexpr uint64_t kZip64Marker = 0xFFFFFFFF;

}  // namespace

bool Archive::Open(const uint8_t* data, size_t size) {
  Close();
  if (size > kMaxArchiveBytes || !CheckEndRecord(data, size, kMaxEntries) || !LibZip()) return false;
  zip_error_t error;
  Calls().error_init(&error);
  zip_source_t* source = Calls().source_buffer_create(data, size, 0, &error);
  if (!source) {
    Calls().error_fini(&error);
    return false;
  }
  archive_ = Calls().open_from_source(source, ZIP_RDONLY, &error);
  Calls().error_fini(&error);
  if (!archive_) {
    Calls().source_free(source);
    return false;
  }
  data_ = data;
  size_ = size;
  const zip_int64_t count = Calls().get_num_entries(archive_, 0);
  if (count < 0 || static_cast<uint64_t>(count) > kMaxEntries) {
    Close();
    return false;
  }
  for (uint64_t i = 0; i < static_cast<uint64_t>(count); ++i) {
    const char* raw = Calls().get_name(archive_, i, ZIP_FL_ENC_RAW);
    if (!raw) continue;
    std::string name = NormalName(raw);
    // Two entries of one name leave it open which one is meant: the archive is refused.
    if (!exactNames_.emplace(name, i).second) {
      Close();
      return false;
    }
    foldedNames_.emplace(Folded(std::move(name)), i);
  }
  return true;
}

void Archive::Close() {
  if (archive_) Calls().discard(archive_);
  archive_ = nullptr;
  data_ = nullptr;
  size_ = 0;
  exactNames_.clear();
  foldedNames_.clear();
}

std::optional<uint64_t> Archive::Find(std::string_view name) const {
  std::string normal = NormalName(name);
  if (auto it = exactNames_.find(normal); it != exactNames_.end()) return it->second;
  if (auto it = foldedNames_.find(Folded(std::move(normal))); it != foldedNames_.end()) return it->second;
  return std::nullopt;
}

uint64_t Archive::DeclaredSize(uint64_t index) const {
  if (!archive_) return 0;
  zip_stat_t st;
  Calls().stat_init(&st);
  if (Calls().stat_index(archive_, index, 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE)) return 0;
  return st.size;
}

bool Archive::ReadWhole(uint64_t index, uint64_t maxBytes, std::string& out) const {
  out.clear();
  EntryStream stream;
  if (!stream.Open(*this, index)) return false;
  char buffer[16384];
  for (;;) {
    const int64_t got = stream.Read(buffer, sizeof buffer);
    if (got < 0) return false;
    if (got == 0) return true;
    if (static_cast<uint64_t>(got) > maxBytes - out.size()) return false;
    out.append(buffer, static_cast<size_t>(got));
  }
}

bool EntryStream::Open(const Archive& archive, uint64_t index) {
  Close();
  if (!archive.archive_) return false;
  zip_stat_t st;
  Calls().stat_init(&st);
  if (Calls().stat_index(archive.archive_, index, 0, &st) != 0) return false;
  if (!(st.valid & ZIP_STAT_COMP_SIZE) || st.comp_size >= kZip64Marker ||
      ((st.valid & ZIP_STAT_SIZE) && st.size >= kZip64Marker))
    return false;
  file_ = Calls().fopen_index(archive.archive_, index, 0);
  if (!file_) return false;
  inflated_ = 0;
  limit_ = std::min(Archive::kMaxInflatedBytes, st.comp_size * Archive::kMaxInflateRatio);
  return true;
}

void EntryStream::Close() {
  if (file_) Calls().fclose(file_);
  file_ = nullptr;
}

int64_t EntryStream::Read(void* dest, size_t capacity) {
  if (!file_) return -1;
  // Ask for one byte past the limit at most, so an entry that reaches it exactly still ends.
  const uint64_t room = limit_ - std::min(limit_, inflated_) + 1;
  const zip_int64_t got = Calls().fread(file_, dest, std::min<uint64_t>(capacity, room));
  if (got < 0) return -1;
  inflated_ += static_cast<uint64_t>(got);
  if (inflated_ > limit_) return -1;
  return got;
}

}  // namespace Zip
