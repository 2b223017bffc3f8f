// One HTTP/1.1 form POST over a plain TCP connection, reporting each step on the console.
// No reply is read. Returns true when any step failed.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "console/console.h"

using FormFields = std::vector<std::pair<std::string, std::string>>;

bool postWebPage(std::string Host, int Port, std::string Path, FormFields vPostReqs, Console& console);
