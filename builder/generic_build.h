// The one build behind create_fromtext_file, create_index_file and create_hybrid_file: load and
// check both tables, then write one record per settings row matching each setlist entry, with
// every message on the console. The tables' kinds are the only difference between the
// variants; each table's adapter says where its settings start.
#pragma once

#include "builder/build.h"
#include "builder/build_report.h"
#include "builder/table.h"

// Loads `setlist` and `settings` (empty tables of the kinds chosen) from the paths and builds.
// Returns true when the build stopped at a check (reported: red message on an emptied console,
// then the path concerned in black), false when the document was written. A `report`, when
// given, receives what was done with each entry.
bool BuildSetlist(const BuildPaths& paths, Console& console, Table& setlist, Table& settings,
                  BuildReport* report = nullptr);
