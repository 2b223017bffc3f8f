// Which build "Create Output" runs for two file extensions, and the path rules around it.
// Shared by the window and tallyform-cli so both choose and name files the same way; the
// kinds and the pairs that build come from builder/table_kind.h.
#pragma once

#include <optional>
#include <string>

#include "builder/build.h"
#include "builder/build_report.h"
#include "builder/table_kind.h"

// The part after the last "."; the whole path when there is none.
std::string FileExtension(const std::string& path);

// Exact, case-sensitive choice by the two extensions.
BuildKind ChooseBuild(const std::string& setlist_ext, const std::string& settings_ext);

// The JSON path beside a setlist: everything from the last "." replaced by ".json";
// nullopt when the path holds no "." at all (the caller then keeps its previous JSON path).
std::optional<std::string> DeriveJsonPath(const std::string& setlist_path);

enum class BuildOutcome {
  Written,             // the document was written; the caller enables Upload
  Stopped,             // the build stopped at a check and reported it
  InvalidCombination,  // no build for these kinds: nothing ran, nothing printed, the caller reports it
};

// Runs the build that the two paths' extensions choose; `report`, when given, receives what
// the build did with each setlist entry.
BuildOutcome RunChosenBuild(const BuildPaths& paths, Console& console, BuildReport* report = nullptr);
