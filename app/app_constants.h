// Build-time texts of the window: the version shown by "About" and the maker's help page.
// The device's address lives with the upload (upload/device_endpoint.h).
#pragma once

#include "version/git_version.h"  // git_version, from project(VERSION)

inline constexpr char kAboutPrefix[] = "QB-7 Setup Application, Version ";
inline constexpr char kHelpUrl[] = "https://www.example.com/qb7/help";
