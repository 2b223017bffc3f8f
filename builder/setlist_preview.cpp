#include "builder/setlist_preview.h"

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
  size_t next = 0;
  bool last_was_record = false;  // an InvalidTempo event belongs to the record just placed
  if (report) {
    for (const BuildEvent& event : *report) {
      switch (event.kind) {
        case BuildEvent::Kind::Record:
          last_was_record = next < records.size();
          if (!last_was_record) break;
          if (rows.size() >= kMaxPreviewRows) return too_many();
          rows.push_back(RecordRow(records[next], next));
          ++next;
          break;
        case BuildEvent::Kind::InvalidTempo:
          if (last_was_record) rows.back().warning = build_messages::kInvalidTempo + event.entry;
          break;
        case BuildEvent::Kind::NoSetting: {
          last_was_record = false;
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
