// The bytes of the setlist JSON document: one array on one line, each record an object with
// "song", "patch", "notes" and "bpm", every value a JSON string. The build owns the order and
// the commas between records; these helpers only turn values into their exact bytes.
#pragma once

#include <string>
#include <string_view>

// Appends `value` in double quotes, escaping only what JSON requires: `"`, `\` and bytes below
// 0x20. Every other byte is copied unchanged, so the document keeps the tables' own bytes.
void AppendJsonString(std::string& out, std::string_view value);

// Appends {"song":"S","patch":"P","notes":"N","bpm":"B"}.
void AppendRecord(std::string& out, std::string_view song, std::string_view patch,
                  std::string_view notes, std::string_view bpm);
