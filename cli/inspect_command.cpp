#include <cstdio>

#include "cli/commands.h"

int RunInspect(const Args&) {
  std::fputs("tallyform-cli: 'inspect' is not available yet\n", stderr);
  return 2;
}
