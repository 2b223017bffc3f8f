// What one build did with each setlist entry, in setlist order: every record it wrote, every
// entry it found no setting for, and every record whose tempo it could not read (right after
// that record). The caller owns the report and passes it to the build, which only appends.
// The window's preview places its rows by it; the console's wording is not parsed for this.
#pragma once

#include <string>
#include <vector>

struct BuildEvent {
  enum class Kind { Record, NoSetting, InvalidTempo };
  Kind kind;
  std::string entry;  // the setlist entry as the build matched it (folded)
  bool operator==(const BuildEvent&) const = default;
};

using BuildReport = std::vector<BuildEvent>;
