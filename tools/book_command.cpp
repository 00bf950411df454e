#include <cstdio>

#include "tools/commands.h"

int RunBook(ToolArgs) {
  std::fprintf(stderr, "not built yet\n");
  return 2;
}

