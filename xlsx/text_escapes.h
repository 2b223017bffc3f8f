// The `_xHHHH_` escapes with which workbook writers store characters XML cannot hold (and
// a literal "_x" as `_x005F_x`): each becomes its character, a surrogate pair one character.
#pragma once

#include <string>
#include <string_view>

namespace Xlsx {

// `text` with every escape decoded: `text` itself when it holds no "_x", else the decoded
// copy made in `scratch`.
std::string_view DecodeEscapes(std::string_view text, std::string& scratch);

}  // namespace Xlsx
