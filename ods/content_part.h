// The tables of an OpenDocument spreadsheet's content part: each table:table of the
// spreadsheet body becomes one sheet, its rows and cells placed with their repeat counts
// (empty repeats only advance the position; repeated values are stored within the book's
// LoadBudget), covered cells as empty positions, annotations left out of the cell text.
#pragma once

#include <memory>
#include <vector>

#include "grid/grid_sheet.h"
#include "zip/zip_archive.h"

namespace Ods {

// False when the part is damaged, refused or over a limit.
bool ReadContentPart(const Zip::Archive& archive, uint64_t index,
                     std::vector<std::unique_ptr<Grid::GridSheet>>& sheets);

}  // namespace Ods
