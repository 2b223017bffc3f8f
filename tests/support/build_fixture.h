// A test fixture for builds of files written into a scratch folder: the files put there,
// the build "Create Output" chooses for them, and the document and console it leaves.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "builder/dispatch.h"
#include "tests/support/build_console.h"
#include "tests/support/files.h"

namespace testing_support {

class BuildFixture : public ::testing::Test {
 protected:
  // Writes `bytes` as `name` in the scratch folder; returns its path.
  std::string Put(const std::string& name, const std::string& bytes) {
    WriteFile(dir_.File(name), bytes);
    return dir_.File(name);
  }
  // Runs the build that the two extensions choose, as "Create Output" does; the document goes
  // beside the setlist, or to `json` when it is given.
  BuildOutcome Build(const std::string& setlist, const std::string& settings, const std::string& json = {}) {
    paths_ = {setlist, settings, json.empty() ? DeriveJsonPath(setlist).value_or("") : json};
    console_.lines.clear();
    return RunChosenBuild(paths_, console_);
  }
  std::string Json() const { return ReadFile(paths_.json_file); }
  bool JsonExists() const { return std::filesystem::exists(paths_.json_file); }
  Lines Success(const Lines& middle, int records) const { return SuccessLines(middle, records, paths_.json_file); }

  ScratchDir dir_;
  BuildPaths paths_;
  RecordingConsole console_;
};

}  // namespace testing_support
