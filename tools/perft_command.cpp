#include <charconv>
#include <cstdio>
#include <cstring>

#include "rules/rules.h"
#include "tools/commands.h"

int RunPerft(ToolArgs args) {
  int depth = 0;
  if (args.size() != 2 ||
      std::from_chars(args[1], args[1] + std::strlen(args[1]), depth).ec != std::errc{} || depth < 1 || depth > 12) {
    std::fprintf(stderr, "usage: brindlet-tool perft \"FEN\" DEPTH   (DEPTH 1 to 12)\n");
    return 2;
  }
  std::optional<rules::Position> position = rules::Position::FromFen(args[0]);
  if (!position) {
    std::fprintf(stderr, "brindlet-tool perft: not a usable FEN\n");
    return 1;
  }
  rules::MoveList moves;
  rules::GenerateLegalMoves(*position, moves);
  std::uint64_t total = 0;
  rules::UndoInfo undo;
  for (rules::Move move : moves) {
    position->MakeMove(move, undo);
    const std::uint64_t count = rules::Perft(*position, depth - 1);
    position->UnmakeMove(move, undo);
    total += count;
    std::printf("%s: %llu\n", rules::ToUci(move).c_str(), static_cast<unsigned long long>(count));
  }
  std::printf("\nNodes searched: %llu\n", static_cast<unsigned long long>(total));
  return 0;
}
