// TextTable: a .csv/.txt/.tsv table (TextBook) as the build reads it. Row 0 of a text settings
// table is a setting: text tables have no header row. Texts are the fields as UTF-8; a tempo
// is the field's leading integer. A table not split at commas says how it was read (ReadAs).
#pragma once

#include <memory>
#include <string>

#include "builder/table.h"

// `delimiter`: the one the kind forces ('\t' for .tsv), or 0 to find it from the file.
std::unique_ptr<Table> MakeTextTable(char delimiter);
// The text table for `path`, with the delimiter its extension's kind forces, if any.
std::unique_ptr<Table> MakeTextTableFor(const std::string& path);
