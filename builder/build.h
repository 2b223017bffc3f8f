// The three builds: join a setlist table with a settings table into the JSON setlist.
// Each returns true when it stopped at one of its checks (after reporting it on the console),
// false when the document was written; the caller enables Upload on false.
#pragma once

#include <string>

#include "console/console.h"

// 8-bit (UTF-8) paths, as the window holds them after str16_to_str8.
struct BuildPaths {
  std::string setlist_file;
  std::string settings_file;
  std::string json_file;
};

bool create_fromtext_file(const BuildPaths& paths, Console& console);  // text setlist, text settings
bool create_index_file(const BuildPaths& paths, Console& console);     // workbook setlist, workbook settings
bool create_hybrid_file(const BuildPaths& paths, Console& console);    // text setlist, workbook settings
