// tallyform-cli: the window's builds, upload and reader, from a shell.
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/commands.h"
#include "version/git_version.h"

namespace {

struct Command {
  const char* name;
  int (*run)(const Args&);
  const char* usage;
};

const Command kCommands[] = {
    {"build", RunBuild, kBuildUsage},
    {"upload", RunUpload, kUploadUsage},
    {"inspect", RunInspect, kInspectUsage},
};

const char kUsage[] =
    "usage: tallyform-cli COMMAND [ARGS]\n"
    "\n"
    "Commands:\n"
    "  build SETLIST SETTINGS          join the two tables into the JSON setlist beside SETLIST,\n"
    "                                  exactly as \"Create Output\" does\n"
    "  upload JSON [--host ADDR] [--port N]\n"
    "                                  send a JSON setlist to the QB-7 (default 192.168.4.1:80)\n"
    "                                  exactly as \"Upload\" does\n"
    "  inspect [--stream] FILE         print the cells the readers see in an .xls, .xlsx, .xlsm,\n"
    "                                  .ods, .csv, .txt or .tsv table as one JSON object (a text\n"
    "                                  table's encoding and delimiter too)\n"
    "  help [COMMAND]                  show this text, or what COMMAND takes\n"
    "\n"
    "Options:\n"
    "  -h, --help                      show this text (after a command: that command's)\n"
    "  --version                       show the version\n"
    "\n"
    "Exit status: 0 when the document was written or sent (or the cells printed); 1 when\n"
    "the build stopped, the combination of file types is invalid or the upload failed;\n"
    "2 for a usage error.\n";

const Command* FindCommand(const std::string& name) {
  for (const Command& command : kCommands) {
    if (name == command.name) return &command;
  }
  return nullptr;
}

int Help(const Args& args) {
  if (args.empty()) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  const Command* command = FindCommand(args[0]);
  if (command == nullptr || args.size() > 1) {
    const std::string why = command ? "help takes one command" : "no command '" + args[0] + "'";
    std::fprintf(stderr, "tallyform-cli help: %s\n\n%s", why.c_str(), kUsage);
    return 2;
  }
  std::fputs(command->usage, stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string first = argv[1];
  const Args args(argv + 2, argv + argc);
  if (IsHelpOption(first)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (first == "--version") {
    std::printf("tallyform-cli %s\n", kVersionNumber);
    return 0;
  }
  if (first == "help") return Help(args);
  if (const Command* command = FindCommand(first)) return command->run(args);
  std::fprintf(stderr, "tallyform-cli: unknown command '%s'\n\n%s", first.c_str(), kUsage);
  return 2;
}
