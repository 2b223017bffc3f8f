#include "builder/generic_build.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "builder/atomic_file.h"
#include "builder/build_messages.h"
#include "builder/json_text.h"
#include "builder/name_fold.h"
#include "builder/settings_index.h"

bool BuildSetlist(const BuildPaths& paths, Console& console, Table& setlist, Table& settings,
                  BuildReport* report) {
  namespace msg = build_messages;
  const auto stop = [&console](const char* message, const std::string& path) {
    console.string_to_textbox(message, RED, true);
    console.string_to_textbox(path, BLACK, false);
    return true;
  };

  if (!settings.Load(paths.settings_file.c_str())) return stop(msg::kSettingsOpen, paths.settings_file);
  if (!setlist.Load(paths.setlist_file.c_str())) return stop(msg::kSetlistOpen, paths.setlist_file);
  auto settings_sheet = settings.Sheet(0);
  if (!settings_sheet) return stop(msg::kSettingsSheet, paths.settings_file);
  const int32_t settings_rows = settings_sheet->RowCount();
  if (settings_rows <= 0) return stop(msg::kNoSettingsRecords, paths.settings_file);
  const int32_t setlist_sheets = setlist.SheetCount();
  if (setlist_sheets <= 0) return stop(msg::kNoSetlistSheets, paths.setlist_file);

  AtomicFile document;
  if (!document.Open(paths.json_file)) return stop(msg::kJsonOpen, paths.json_file);
  std::string out = "[";
  console.string_to_textbox(msg::kBuilding, BLUE, false);
  // A table read otherwise than its kind suggests says so, in the order the tables were loaded.
  for (const auto& [table, path] : {std::pair{&settings, &paths.settings_file}, std::pair{&setlist, &paths.setlist_file}}) {
    if (const char* how = table->ReadAs()) console.string_to_textbox(msg::kReading + *path + msg::kReadingAs + how, BLUE, false);
  }

  // Every setlist entry in order, as the id of its folded name; then one pass over the settings
  // rows collects, for each name, the rows that carry it.
  SettingsIndex index;
  std::vector<int32_t> entries;
  for (int32_t s = 0; s < setlist_sheets; ++s) {
    auto sheet = setlist.Sheet(s);
    if (!sheet) continue;
    const int32_t rows = sheet->RowCount();
    // A name per row at most: room for them at once (the readers bound the rows).
    index.Reserve(entries.size() + static_cast<size_t>(std::max(rows, 0)));
    sheet->ForEachText(0, 0, [&](uint32_t, std::string& name) {
      FoldNameInPlace(name);
      entries.push_back(index.AddEntry(name));
    });
  }
  settings_sheet->ForEachText(0, settings.FirstSettingsRow(), [&](uint32_t row, std::string& name) {
    FoldNameInPlace(name);
    if (const int32_t id = index.Find(name); id >= 0) index.AddRow(id, static_cast<int32_t>(row));
  });

  if (report) report->reserve(report->size() + entries.size());  // one entry at least each
  int64_t records = 0;
  std::string song, patch, notes, bpm;  // reused by every record
  for (const int32_t id : entries) {
    const std::string& name = index.Name(id);
    const size_t matches = index.ForEachRow(id, [&](int32_t k) {
      const auto row = static_cast<uint32_t>(k);
      if (records > 0) out.push_back(',');
      notes.clear();
      if (!settings_sheet->IsEmpty(row, 3)) settings_sheet->TextInto(row, 3, notes);
      bpm.clear();
      bool invalid_tempo = false;
      if (!settings_sheet->IsEmpty(row, 4)) {
        const std::optional<int32_t> tempo = settings_sheet->Tempo(row, 4);
        invalid_tempo = !tempo;
        if (tempo) bpm = std::to_string(*tempo);
      }
      settings_sheet->TextInto(row, 1, song);
      settings_sheet->TextInto(row, 2, patch);
      AppendRecord(out, song, patch, notes, bpm);
      ++records;
      if (report) report->push_back({BuildEvent::Kind::Record, name});
      if (invalid_tempo) console.string_to_textbox(msg::kInvalidTempo + name, RED, false);
      if (invalid_tempo && report) report->push_back({BuildEvent::Kind::InvalidTempo, name});
    });
    if (matches == 0) console.string_to_textbox(msg::kNoSetting + name, RED, false);
    if (matches == 0 && report) report->push_back({BuildEvent::Kind::NoSetting, name});
    if (out.size() >= (1u << 16)) {
      if (!document.Write(out)) return stop(msg::kJsonWrite, paths.json_file);
      out.clear();
    }
  }
  out.push_back(']');
  if (!document.Write(out) || !document.Commit()) return stop(msg::kJsonWrite, paths.json_file);

  console.string_to_textbox(msg::kCreated + std::to_string(records), GREEN, false);
  console.string_to_textbox(paths.json_file, BLACK, false);
  return false;
}
