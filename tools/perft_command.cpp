#include <cstdio>

#include "tools/commands.h"

int RunPerft(ToolArgs) {
  std::fprintf(stderr, "not built yet\n");
  return 2;
}

