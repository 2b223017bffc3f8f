// Numbers as text and text as numbers, the rules every table kind shares: how a cell's number
// is written, and how a tempo is read from a number or a text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A number's text: a whole number in plain decimal ("12", "-3"), any other in the shortest
// form that reads back to the same double ("98.6").
std::string NumberText(double value);

// A number cut toward zero; nullopt for NaN, an infinity or a whole part outside 32 bits.
std::optional<int32_t> TruncatedInteger(double value);

// Leading blanks (those of the "C" locale's isspace), an optional sign, then decimal digits up
// to the first non-digit; nullopt when no digit follows or the value does not fit in 32 bits.
std::optional<int32_t> LeadingInteger(std::string_view text);
