// tallyform-cli build SETLIST SETTINGS: the "Create Output" build from a shell, writing the
// JSON setlist beside SETLIST and printing the console's lines on standard output.
#include <cstdio>

#include "builder/build_messages.h"
#include "builder/dispatch.h"
#include "cli/commands.h"
#include "cli/stdout_console.h"

const char kBuildUsage[] =
    "usage: tallyform-cli build SETLIST SETTINGS\n"
    "\n"
    "Joins the setlist table with the settings table into SETLIST's name with the extension\n"
    ".json, beside SETLIST. Tables: both text (.csv, .txt or .tsv); or a workbook settings\n"
    "table (.xls, .xlsx, .xlsm or .ods; row 0 its header) with a workbook or text setlist.\n"
    "Extensions are compared exactly. The build's messages go to standard output.\n"
    "Exit 0 when the document was written, 1 when the build stopped or the combination of\n"
    "file types is invalid, 2 for a usage error.\n";

int RunBuild(const Args& args) {
  if (args.size() == 1 && IsHelpOption(args[0])) {
    std::fputs(kBuildUsage, stdout);
    return 0;
  }
  if (args.size() != 2) {
    std::fputs(kBuildUsage, stderr);
    return 2;
  }
  // Without any "." in SETLIST there is no JSON path; the window would keep none either.
  const BuildPaths paths{args[0], args[1], DeriveJsonPath(args[0]).value_or("")};
  StdoutConsole console;
  const BuildOutcome outcome = RunChosenBuild(paths, console);
  if (outcome == BuildOutcome::InvalidCombination)
    console.string_to_textbox(build_messages::kInvalidCombination, RED, true);
  console.Flush();  // the build has ended: every line is out before we return
  return outcome == BuildOutcome::Written ? 0 : 1;
}
