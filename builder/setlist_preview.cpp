#include "builder/setlist_preview.h"

#include <algorithm>
#include <utility>

#include "builder/build_messages.h"

namespace {

PreviewRow RecordRow(SetlistRecord& record, size_t index) {
  PreviewRow row;
  row.record = static_cast<int64_t>(index) + 1;
  row.values = std::move(record);
  return row;
}

}  // namespace

bool PlacePreviewRows(std::vector<SetlistRecord> records, const BuildReport* report, std::vector<PreviewRow>& rows,
                      std::string& error) {
  rows.clear();
  const auto too_many = [&error, &rows] {
    error = "it makes more than " + std::to_string(kMaxPreviewRows) + " rows";
    rows.clear();
    return false;
  };
  size_t reported = 0, unmatched = 0;
  if (report) {
    for (const BuildEvent& event : *report) {
      reported += event.kind == BuildEvent::Kind::Record;
      unmatched += event.kind == BuildEvent::Kind::NoSetting;
    }
  }
  // A report of another number of records belongs to another document: the file was
  // changed after the build, and its places would put warnings beside the wrong records.
  if (reported != records.size()) report = nullptr;
  rows.reserve(std::min(kMaxPreviewRows, records.size() + (report ? unmatched : 0)));
  size_t next = 0;
  if (report) {
    for (const BuildEvent& event : *report) {
      switch (event.kind) {
        case BuildEvent::Kind::Record:
          if (rows.size() >= kMaxPreviewRows) return too_many();
          rows.push_back(RecordRow(records[next], next));
          ++next;
          break;
        case BuildEvent::Kind::InvalidTempo:
          // Reported right after its record, so it belongs to the last row placed.
          if (!rows.empty() && rows.back().kind == PreviewRow::Kind::Record) {
            rows.back().warning = build_messages::kInvalidTempo + event.entry;
          }
          break;
        case BuildEvent::Kind::NoSetting: {
          if (rows.size() >= kMaxPreviewRows) return too_many();
          PreviewRow row;
          row.kind = PreviewRow::Kind::NoSetting;
          row.values.song = event.entry;
          row.warning = build_messages::kNoSetting + event.entry;
          rows.push_back(std::move(row));
          break;
        }
      }
    }
  }
  for (; next < records.size(); ++next) {
    if (rows.size() >= kMaxPreviewRows) return too_many();
    rows.push_back(RecordRow(records[next], next));
  }
  return true;
}

bool ReadPreviewRows(const std::string& json_path, const BuildReport* report, std::vector<PreviewRow>& rows,
                     std::string& error) {
  std::vector<SetlistRecord> records;
  if (!ReadSetlistDocument(json_path, records, error)) {
    rows.clear();
    return false;
  }
  return PlacePreviewRows(std::move(records), report, rows, error);
}
