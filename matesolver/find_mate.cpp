// Iterative deepening over the mate length, so the first mate found is a shortest one.
#include "matesolver/mate_search.h"
#include "matesolver/mate_solver.h"
#include "matesolver/transposition_table.h"

namespace matesolver {
namespace {

// One table for the whole process: 1 MiB that is never allocated on a call.
TranspositionTable table;

}  // namespace

MateResult FindMate(const rules::Position& position, int maxMoves, std::uint64_t nodeBudget) {
  MateResult result;
  if (maxMoves > kMaxMateMoves) maxMoves = kMaxMateMoves;
  rules::Position board = position;
  table.NewSearch();
  MateSearch search(board, table, nodeBudget);
  for (int moves = 1; moves <= maxMoves; ++moves) {
    rules::Move move;
    if (search.AttackerMates(moves, 0, &move)) {
      result.move = move;
      result.mateIn = moves;
      break;
    }
    if (search.BudgetExhausted()) break;
  }
  result.nodes = search.Nodes();
  result.budgetExhausted = search.BudgetExhausted();
  return result;
}

std::optional<rules::Move> FindMateMove(std::string_view fen, int maxMoves) {
  if (maxMoves < 1) return std::nullopt;
  const std::optional<rules::Position> position = ReadEngineFen(fen);
  if (!position || position->OpponentInCheck()) return std::nullopt;
  const MateResult result = FindMate(*position, maxMoves);
  if (result.move.IsNone()) return std::nullopt;
  return result.move;
}

}  // namespace matesolver
