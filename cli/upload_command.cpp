#include <cstdio>

#include "cli/commands.h"

int RunUpload(const Args&) {
  std::fputs("tallyform-cli: 'upload' is not available yet\n", stderr);
  return 2;
}
