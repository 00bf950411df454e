#include <cstdio>
#include <cstring>

#include "tools/commands.h"

namespace {

struct Subcommand {
  const char* name;
  const char* usage;
  int (*run)(ToolArgs);
};

constexpr Subcommand kSubcommands[] = {
    {"valid", "valid \"FEN\"              valid or invalid (exit 0 or 1) by the engine's FEN check", RunValid},
    {"best", "best \"FEN\"               the search's move, result code, nodes, time and root scores", RunBest},
    {"bench", "bench [SUITE]            the search over the bench suite (from here up, else the installed one): nodes and speed", RunBench},
    {"fen", "fen startpos|\"FEN\" [MOVE ...]  the FEN the tracker writes after the moves", RunFen},
    {"perft", "perft \"FEN\" DEPTH        legal move counts per root move and in total", RunPerft},
    {"mate", "mate \"FEN\" [MOVES]       first move of a forced mate, or none", RunMate},
    {"book", "book \"FEN\"               book entries for the position and the move chosen", RunBook},
};

int PrintHelp() {
  std::printf("usage: brindlet-tool SUBCOMMAND [ARGS]\n\nsubcommands:\n");
  for (const Subcommand& command : kSubcommands) std::printf("  %s\n", command.usage);
  std::printf("  version                  the version of Brindlet\n");
  std::printf("  help                     this list\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || std::strcmp(argv[1], "help") == 0 || std::strcmp(argv[1], "--help") == 0) {
    PrintHelp();
    return argc < 2 ? 2 : 0;
  }
  if (std::strcmp(argv[1], "version") == 0 || std::strcmp(argv[1], "--version") == 0) {
    std::printf("Brindlet %s\n", BRINDLET_VERSION);
    return 0;
  }
  for (const Subcommand& command : kSubcommands) {
    if (std::strcmp(argv[1], command.name) == 0) return command.run(ToolArgs(argv + 2, argc - 2));
  }
  std::fprintf(stderr, "brindlet-tool: unknown subcommand '%s' (try: brindlet-tool help)\n", argv[1]);
  return 2;
}
