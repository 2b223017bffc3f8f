// Names of the parts of an Open XML package: where a part's relationships live, and the
// part a relationship target names, relative to the part that holds the relationship.
#pragma once

#include <string>
#include <string_view>

namespace Xlsx {

// "xl/workbook.xml" -> "xl/_rels/workbook.xml.rels"; "" (the package) -> "_rels/.rels".
std::string RelationshipsPartOf(std::string_view part);
// The part named by `target` (percent-escapes decoded, "." and ".." applied; "/x" from the
// package root), seen from `sourcePart`.
std::string ResolveTarget(std::string_view sourcePart, std::string_view target);

}  // namespace Xlsx
