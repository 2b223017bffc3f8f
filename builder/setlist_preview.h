// The rows a preview of the last build shows: the document's records as read back from disk,
// in order, with the setlist entries that had no setting at their place in the setlist and
// each tempo warning beside its record. Their places come from the build's report; without a
// report, or with one that does not fit the document (changed since the build), the rows are
// the records alone. Display-free: the window only draws these rows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "builder/build_report.h"
#include "builder/setlist_document.h"

struct PreviewRow {
  enum class Kind { Record, NoSetting };
  Kind kind = Kind::Record;
  int64_t record = 0;      // the record's place in the document, from 1; 0 for an entry without setting
  SetlistRecord values;    // a record's texts; for an entry without setting, its name as song
  std::string warning;     // as the console words it: "No setting for: ...", "Invalid tempo for: ..."
  bool operator==(const PreviewRow&) const = default;
};

inline constexpr size_t kMaxPreviewRows = kMaxDocumentRecords;

// Places `records` by `report` (null: no report), which is used only when it holds as many
// records as the document. False, with `error`, when there would be more than kMaxPreviewRows rows.
bool PlacePreviewRows(std::vector<SetlistRecord> records, const BuildReport* report, std::vector<PreviewRow>& rows,
                      std::string& error);

// Reads the document at `json_path` and places its records: the preview's whole work.
bool ReadPreviewRows(const std::string& json_path, const BuildReport* report, std::vector<PreviewRow>& rows,
                     std::string& error);
