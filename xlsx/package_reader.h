// The reading of one workbook package from its bytes into sheets: the workbook part found
// through the package relationships, its worksheets through the workbook's, the shared
// strings parsed on their own thread. Owns nothing past the call; the caller takes the result.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "grid/grid_sheet.h"
#include "grid/text_pool.h"

namespace Xlsx {

struct PackageContents {
  std::unique_ptr<Grid::TextPool> sharedTexts;
  std::vector<std::unique_ptr<Grid::GridSheet>> sheets;
};

// False when the bytes are not a zip package, or a part is damaged, refused or over a limit.
bool ReadPackage(const uint8_t* data, size_t size, PackageContents& out);

}  // namespace Xlsx
