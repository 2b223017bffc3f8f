// The companion's commands. Each takes the arguments after its own name and returns the
// process exit code; each owns its own usage text and usage errors (printed to standard
// error, exit 2). main.cpp lists them for `help` and dispatches to them.
#pragma once

#include <string>
#include <vector>

using Args = std::vector<std::string>;

int RunBuild(const Args& args);    // tallyform-cli build SETLIST SETTINGS
int RunUpload(const Args& args);   // tallyform-cli upload JSON [--host ADDR] [--port N]
int RunInspect(const Args& args);  // tallyform-cli inspect [--stream] FILE

// What `COMMAND --help` and `help COMMAND` print.
extern const char kBuildUsage[];
extern const char kUploadUsage[];
extern const char kInspectUsage[];

inline bool IsHelpOption(const std::string& arg) { return arg == "--help" || arg == "-h"; }
