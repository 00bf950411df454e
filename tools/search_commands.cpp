#include <cstdio>

#include "tools/commands.h"

int RunBest(ToolArgs) {
  std::fprintf(stderr, "not built yet\n");
  return 2;
}

int RunBench(ToolArgs) {
  std::fprintf(stderr, "not built yet\n");
  return 2;
}

