#include "tests/search/reference/reference_moves.h"

#include <cstdlib>

#include "search/castle_scan.h"
#include "search/move_generation.h"
#include "search/pseudo_moves.h"

namespace search_reference {

using search::Square;

void ScanCastlePaths(SearchPosition& position, int side) {
  const int backRank = side == 1 ? 1 : 8;
  for (int8_t& flag : position.castlePathSafe) flag = search::kFlagSet;
  position.sideToMove = static_cast<int8_t>(-position.sideToMove);
  // The list keeps the opponent's first 80 moves, but every one of them is read for the
  // flags: with several queens the attacker of the king's path can come after the 80th.
  position.moveCount = 0;
  search::ForEachPseudoMove(position, [&](int from, int to) {
    const bool refused = position.kingCaptured != 0 && std::abs(Square(position, to)) == search::kKingValue;
    if (!refused && to % 10 == backRank) search::ClearWingsForFile(position, to / 10);
    search::AddMove(position, from, to);
    return true;
  });
  position.sideToMove = static_cast<int8_t>(-position.sideToMove);
  search::ClearWingsForPawnAttacks(position, side);
}

void AddCastling(SearchPosition& position, int wing) {
  const int target = search::CastlingTarget(position, wing);
  if (target != 0) search::AddMove(position, wing < 2 ? 51 : 58, target);
}

void GenerateAllMoves(SearchPosition& position) {
  ScanCastlePaths(position, position.sideToMove);
  search::GenerateMoves(position);
  const int firstWing = position.sideToMove == 1 ? search::kWhiteKingWing : search::kBlackKingWing;
  for (int wing = firstWing; wing < firstWing + 2; ++wing) {
    if (position.castleRight[wing] != 0 && position.castlePathSafe[wing] != 0) AddCastling(position, wing);
  }
}

bool InCheck(SearchPosition& position) {
  position.sideToMove = static_cast<int8_t>(-position.sideToMove);
  search::GenerateMoves(position);
  position.sideToMove = static_cast<int8_t>(-position.sideToMove);
  for (int i = 0; i < position.moveCount; ++i) {
    if (std::abs(Square(position, position.moves[i].to)) == search::kKingValue) return true;
  }
  return false;
}

}  // namespace search_reference
