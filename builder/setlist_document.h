// The setlist document read back from disk, so a preview shows exactly what Upload sends: a
// JSON array of records, each an object whose "song", "patch", "notes" and "bpm" are shown.
// The file is bounded before it is read and parsed as a stream of events (nlohmann's SAX
// parser), so only the records themselves are held, at most kMaxDocumentRecords of them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct SetlistRecord {
  std::string song, patch, notes, bpm;
  bool operator==(const SetlistRecord&) const = default;
};

inline constexpr std::uintmax_t kMaxDocumentBytes = std::uintmax_t{16} << 20;
inline constexpr size_t kMaxDocumentRecords = 100'000;

// Reads the document at the 8-bit `path` into `records` (replacing them). False, with `error`
// saying why in words for the user, when it cannot be read or is not an array of records.
// A number, true, false or null stands as its JSON text; other keys are not shown.
bool ReadSetlistDocument(const std::string& path, std::vector<SetlistRecord>& records, std::string& error);
