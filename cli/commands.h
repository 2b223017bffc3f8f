// The companion's commands. Each takes the arguments after its own name and returns the
// process exit code; each owns its own usage errors (printed to standard error, exit 2).
#pragma once

#include <string>
#include <vector>

using Args = std::vector<std::string>;

int RunBuild(const Args& args);    // tallyform-cli build SETLIST SETTINGS
int RunUpload(const Args& args);   // tallyform-cli upload JSON [--host ADDR] [--port N]
int RunInspect(const Args& args);  // tallyform-cli inspect FILE
