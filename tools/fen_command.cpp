#include <cstdio>

#include "tools/commands.h"

int RunFen(ToolArgs) {
  std::fprintf(stderr, "not built yet\n");
  return 2;
}

