#include "builder/json_text.h"

void AppendRecord(std::string& out, std::string_view song, std::string_view patch,
                  std::string_view notes, std::string_view bpm) {
  out += "{\"song\":";
  AppendJsonString(out, song);
  out += ",\"patch\":";
  AppendJsonString(out, patch);
  out += ",\"notes\":";
  AppendJsonString(out, notes);
  out += ",\"bpm\":";
  AppendJsonString(out, bpm);
  out.push_back('}');
}
