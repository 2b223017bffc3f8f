// JSON string literals: the one escaper, used by the setlist document and by the CLI's
// inspect output, so both write the same bytes for the same text.
#pragma once

#include <string>
#include <string_view>

// Appends `value` in double quotes, escaping only what JSON requires: `"`, `\` and bytes below
// 0x20. Every other byte is copied unchanged, so the document keeps the tables' own bytes.
void AppendJsonString(std::string& out, std::string_view value);
