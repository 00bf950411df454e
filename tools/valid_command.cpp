#include <cstdio>

#include "frontend/fen_validation.h"
#include "tools/commands.h"

int RunValid(ToolArgs args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "usage: brindlet-tool valid \"FEN\"\n");
    return 2;
  }
  const bool valid = frontend::IsValidFEN(args[0]);
  std::printf("%s\n", valid ? "valid" : "invalid");
  return valid ? 0 : 1;
}
