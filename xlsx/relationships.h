// The relationships of one package part (its ".rels" part): id, kind and the part each
// names. The kind is the last segment of the relationship type ("worksheet",
// "sharedStrings", "officeDocument"), the same in transitional and strict files.
#pragma once

#include <string>
#include <vector>

#include "zip/zip_archive.h"

namespace Xlsx {

struct Relationship {
  std::string id;
  std::string kind;
  std::string part;  // resolved against the source part; empty for an external target
};

// Reads the relationships of `sourcePart` ("" for the package itself). True with none
// when the part has no ".rels" part; false when that part is damaged or refused.
bool ReadRelationships(const Zip::Archive& archive, const std::string& sourcePart,
                       std::vector<Relationship>& out);

}  // namespace Xlsx
