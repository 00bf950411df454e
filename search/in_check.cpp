#include "search/in_check.h"

#include <cstdlib>
#include <cstring>

#include "search/move_generation.h"
#include "search/pseudo_moves.h"

namespace search {

bool InCheck(SearchPosition& position) {
  position.sideToMove = static_cast<int8_t>(-position.sideToMove);
  GenerateMoves(position);
  position.sideToMove = static_cast<int8_t>(-position.sideToMove);
  for (int i = 0; i < position.moveCount; ++i) {
    if (std::abs(Square(position, position.moves[i].to)) == kKing) return true;
  }
  return false;
}

bool KingAttacked(const SearchPosition& position) {
  // Once a king has been captured no move onto a king is listed at all.
  if (position.kingCaptured != 0) return false;
  SearchPosition opponent;
  CopyPositionState(opponent, position);
  opponent.sideToMove = static_cast<int8_t>(-position.sideToMove);
  bool attacked = false;
  ForEachPseudoMove(opponent, [&](int, int to) {
    attacked = std::abs(Square(position, to)) == kKing;  // the boards are the same
    return !attacked;
  });
  return attacked;
}

}  // namespace search
