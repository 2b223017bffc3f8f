// What the build reads from one .xls cell: its text as UTF-8 and its tempo as an integer.
// The reader keeps cells as stored (8-bit Latin-1 or 16-bit UTF-16 text, numbers, formulas
// with cached results); these turn every kind into the text and integer the document needs.
// NumberText and LeadingInteger (text/numbers.h) are the rules every table kind shares.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "text/numbers.h"
#include "xls/xls_cell.h"

// Text as UTF-8: 8-bit text is Latin-1, 16-bit text UTF-16 (a lone surrogate gives U+FFFD);
// a number gives its decimal text, a Boolean 0 or 1, a formula its cached result; an empty
// cell, an error, or a formula whose result is empty or an error gives "".
std::string XlsCellText(const Xls::XlsCell& cell);
// The same, written over `out`, reusing its room.
void XlsCellTextInto(const Xls::XlsCell& cell, std::string& out);

// The tempo as the build writes it: a number cut toward zero, a Boolean 0 or 1, a text read
// like a text table's tempo. nullopt when no integer can be read or it leaves 32 bits.
std::optional<int32_t> XlsCellTempo(const Xls::XlsCell& cell);
