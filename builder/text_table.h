// TextTable: a .csv/.txt table (TextBook) as the build reads it. Row 0 of a text settings
// table is a setting: text tables have no header row. Texts are the field's own bytes; a
// tempo is the field's leading integer.
#pragma once

#include <memory>

#include "builder/table.h"

std::unique_ptr<Table> MakeTextTable();
