// Which build "Create Output" runs for two file extensions, and the path rules around it.
// Shared by the window and tallyform-cli so both choose and name files the same way.
#pragma once

#include <optional>
#include <string>

#include "builder/build.h"

enum class BuildKind { Index, Hybrid, FromText, Invalid };

// The part after the last "."; the whole path when there is none.
std::string FileExtension(const std::string& path);

// Exact, case-sensitive choice by the two extensions.
BuildKind ChooseBuild(const std::string& setlist_ext, const std::string& settings_ext);

// The JSON path beside a setlist: everything from the last "." replaced by ".json";
// nullopt when the path holds no "." at all (the caller then keeps its previous JSON path).
std::optional<std::string> DeriveJsonPath(const std::string& setlist_path);

// Runs the build that ChooseBuild picks. nullopt for an invalid combination (nothing ran,
// nothing printed: the caller reports it); otherwise the build's result (true = stopped).
std::optional<bool> RunChosenBuild(const BuildPaths& paths, Console& console);
