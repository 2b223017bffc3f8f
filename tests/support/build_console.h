// The console a build leaves, as the build tests expect it: the lines of a successful build
// around what it reported in between, and the two lines of a stopped one.
#pragma once

#include <string>

#include "builder/build_messages.h"
#include "tests/support/recording_console.h"

namespace testing_support {

// The console of a successful build: the progress line, `middle`, the total and the JSON path.
inline Lines SuccessLines(const Lines& middle, int records, const std::string& json_file) {
  Lines all{{build_messages::kBuilding, BLUE, false}};
  all.insert(all.end(), middle.begin(), middle.end());
  all.push_back({build_messages::kCreated + std::to_string(records), GREEN, false});
  all.push_back({json_file, BLACK, false});
  return all;
}

// The console of a stopped build: the message on an emptied console, then the path.
inline Lines StopLines(const char* message, const std::string& path) {
  return {{message, RED, true}, {path, BLACK, false}};
}

}  // namespace testing_support
