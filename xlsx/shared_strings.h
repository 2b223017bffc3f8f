// The shared-string table of a workbook: each <si> item's text (rich-text runs joined,
// phonetic runs left out, `_xHHHH_` escapes decoded), stored once in the table's own pool.
// Parsed on its own thread while the sheets are read, so it touches only what it owns and
// the book's LoadBudget.
#pragma once

#include <vector>

#include "grid/load_budget.h"
#include "grid/text_pool.h"
#include "zip/zip_archive.h"

namespace Xlsx {

struct SharedStrings {
  std::vector<const char*> strings;
  Grid::TextPool pool;
};

bool ReadSharedStrings(const Zip::Archive& archive, uint64_t index, Grid::LoadBudget& budget, SharedStrings& out);

}  // namespace Xlsx
