// FoldName: the form in which setlist entries and settings lookup names are compared, and in
// which an unmatched name is shown. A name of ASCII bytes only is folded exactly as FoldAscii
// folds it; any other is put in Unicode NFC with full case folding (utf8proc), for every script,
// so "Ünder" meets "ünder", "STRASSE" meets "straße" and a decomposed é meets a composed one.
// Blanks are kept, as everywhere in matching: they are significant.
#pragma once

#include <string>
#include <string_view>

std::string FoldName(std::string_view text);
void FoldNameInPlace(std::string& text);
