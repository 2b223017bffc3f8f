// The sheet list of the workbook part: every <sheet> of <sheets>, in workbook order, with
// its name, visibility and the id of the relationship that names its part.
#pragma once

#include <string>
#include <vector>

#include "zip/zip_archive.h"

namespace Xlsx {

struct SheetEntry {
  std::string name;
  std::string relationshipId;
  bool hidden = false;
};

bool ReadWorkbookSheets(const Zip::Archive& archive, uint64_t index, std::vector<SheetEntry>& out);

}  // namespace Xlsx
