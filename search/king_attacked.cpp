#include "search/king_attacked.h"

#include <cstdlib>

#include "search/pseudo_moves.h"

namespace search {

bool KingAttacked(const SearchPosition& position) {
  // Once a king has been captured no move onto a king is listed at all.
  if (position.kingCaptured != 0) return false;
  SearchPosition opponent;
  CopyPositionState(opponent, position);
  opponent.sideToMove = static_cast<int8_t>(-position.sideToMove);
  bool attacked = false;
  ForEachPseudoMove(opponent, [&](int, int to) {
    attacked = std::abs(Square(position, to)) == kKingValue;  // the boards are the same
    return !attacked;
  });
  return attacked;
}

}  // namespace search
