// Temporary stand-ins until the builds land.
#include "builder/build.h"
#include "builder/dispatch.h"

bool create_fromtext_file(const BuildPaths&, Console&) { return true; }
bool create_index_file(const BuildPaths&, Console&) { return true; }
bool create_hybrid_file(const BuildPaths&, Console&) { return true; }
std::string FileExtension(const std::string& path) {
  const auto dot = path.rfind('.');
  return dot == std::string::npos ? path : path.substr(dot + 1);
}
BuildKind ChooseBuild(const std::string&, const std::string&) { return BuildKind::Invalid; }
std::optional<std::string> DeriveJsonPath(const std::string&) { return std::nullopt; }
std::optional<bool> RunChosenBuild(const BuildPaths&, Console&) { return std::nullopt; }
