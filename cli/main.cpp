// tallyform-cli: the window's builds, upload and reader, from a shell.
#include <cstdio>
#include <cstring>

#include "cli/commands.h"

namespace {

const char kUsage[] =
    "usage: tallyform-cli COMMAND [ARGS]\n"
    "\n"
    "Commands:\n"
    "  build SETLIST SETTINGS          join the two tables into the JSON setlist beside SETLIST,\n"
    "                                  exactly as \"Create Output\" does (exit 0 written,\n"
    "                                  1 stopped or invalid combination of file types)\n"
    "  upload JSON [--host ADDR] [--port N]\n"
    "                                  send a JSON setlist to the QB-7 (default 192.168.4.1:80)\n"
    "                                  exactly as \"Upload\" does (exit 0 sent, 1 failed)\n"
    "  inspect FILE                    print the cells the readers see in an .xls, .csv, .txt or\n"
    "                                  .tsv table as one JSON object (a text table's encoding\n"
    "                                  and delimiter too)\n"
    "  --help                          show this text\n"
    "\n"
    "Usage errors exit 2.\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string command = argv[1];
  const Args args(argv + 2, argv + argc);
  if (command == "build") return RunBuild(args);
  if (command == "upload") return RunUpload(args);
  if (command == "inspect") return RunInspect(args);
  std::fprintf(stderr, "tallyform-cli: unknown command '%s'\n\n%s", command.c_str(), kUsage);
  return 2;
}
