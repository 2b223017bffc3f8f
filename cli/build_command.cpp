#include <cstdio>

#include "cli/commands.h"

int RunBuild(const Args&) {
  std::fputs("tallyform-cli: 'build' is not available yet\n", stderr);
  return 2;
}
