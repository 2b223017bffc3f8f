// The bytes of the setlist JSON document: one array on one line, each record an object with
// "song", "patch", "notes" and "bpm", every value a JSON string. The build owns the order and
// the commas between records; AppendRecord only turns values into their exact bytes, each
// escaped by the one JSON string escaper (text/json_string.h).
#pragma once

#include <string>
#include <string_view>

#include "text/json_string.h"

// Appends {"song":"S","patch":"P","notes":"N","bpm":"B"}.
void AppendRecord(std::string& out, std::string_view song, std::string_view patch,
                  std::string_view notes, std::string_view bpm);
