#include "builder/dispatch.h"

namespace {

bool IsText(const std::string& ext) { return ext == "csv" || ext == "txt"; }

}  // namespace

std::string FileExtension(const std::string& path) {
  const auto dot = path.rfind('.');
  return dot == std::string::npos ? path : path.substr(dot + 1);
}

BuildKind ChooseBuild(const std::string& setlist_ext, const std::string& settings_ext) {
  // The .xls rows come first; an .xls setlist with a text settings table matches no row.
  if (setlist_ext == "xls" && settings_ext == "xls") return BuildKind::Index;
  if (IsText(setlist_ext) && settings_ext == "xls") return BuildKind::Hybrid;
  if (IsText(setlist_ext) && IsText(settings_ext)) return BuildKind::FromText;
  return BuildKind::Invalid;
}

std::optional<std::string> DeriveJsonPath(const std::string& setlist_path) {
  // The last "." anywhere, even in a folder name: C:/my.shows/list gives C:/my.json.
  const auto dot = setlist_path.rfind('.');
  if (dot == std::string::npos) return std::nullopt;
  return setlist_path.substr(0, dot) + ".json";
}

std::optional<bool> RunChosenBuild(const BuildPaths& paths, Console& console) {
  switch (ChooseBuild(FileExtension(paths.setlist_file), FileExtension(paths.settings_file))) {
    case BuildKind::Index: return create_index_file(paths, console);
    case BuildKind::Hybrid: return create_hybrid_file(paths, console);
    case BuildKind::FromText: return create_fromtext_file(paths, console);
    case BuildKind::Invalid: break;
  }
  return std::nullopt;
}
