// Counting the leaves of the legal move tree, the standard check of a move generator.
#include "rules/rules.h"

namespace rules {

std::uint64_t Perft(Position& position, int depth) {
  if (depth <= 0) return 1;
  MoveList moves;
  GenerateLegalMoves(position, moves);
  if (depth == 1) return static_cast<std::uint64_t>(moves.Size());
  std::uint64_t nodes = 0;
  UndoInfo undo;
  for (Move move : moves) {
    position.MakeMove(move, undo);
    nodes += Perft(position, depth - 1);
    position.UnmakeMove(move, undo);
  }
  return nodes;
}

}  // namespace rules
