// The JSON document as the upload sends it: the file's lines joined without their line ends.
// Reading is binary; a CR before an LF is dropped, as the text-mode read of the window would.
#pragma once

#include <string>
#include <string_view>

// `raw` without its line ends (LF, and CR LF); a lone CR is ordinary text.
std::string JoinLines(std::string_view raw);

// Reads `path` whole into `text` (joined); false when it cannot be opened or read.
bool ReadDocumentText(const std::string& path, std::string& text);
