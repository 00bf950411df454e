#include <cstdio>

#include "tools/commands.h"

int RunMate(ToolArgs) {
  std::fprintf(stderr, "not built yet\n");
  return 2;
}

