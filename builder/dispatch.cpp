#include "builder/dispatch.h"

#include "builder/generic_build.h"

std::string FileExtension(const std::string& path) {
  const auto dot = path.rfind('.');
  return dot == std::string::npos ? path : path.substr(dot + 1);
}

BuildKind ChooseBuild(const std::string& setlist_ext, const std::string& settings_ext) {
  const TableKind* setlist = FindTableKind(setlist_ext);
  const TableKind* settings = FindTableKind(settings_ext);
  if (!setlist || !settings) return BuildKind::Invalid;
  return BuildKindOf(setlist->family, settings->family);
}

std::optional<std::string> DeriveJsonPath(const std::string& setlist_path) {
  // The last "." anywhere, even in a folder name: C:/my.shows/list gives C:/my.json.
  const auto dot = setlist_path.rfind('.');
  if (dot == std::string::npos) return std::nullopt;
  return setlist_path.substr(0, dot) + ".json";
}

BuildOutcome RunChosenBuild(const BuildPaths& paths, Console& console, BuildReport* report) {
  const std::string setlist_ext = FileExtension(paths.setlist_file);
  const std::string settings_ext = FileExtension(paths.settings_file);
  if (ChooseBuild(setlist_ext, settings_ext) == BuildKind::Invalid) return BuildOutcome::InvalidCombination;
  const std::unique_ptr<Table> settings = FindTableKind(settings_ext)->Make();
  const std::unique_ptr<Table> setlist = FindTableKind(setlist_ext)->Make();
  return BuildSetlist(paths, console, *setlist, *settings, report) ? BuildOutcome::Stopped : BuildOutcome::Written;
}
