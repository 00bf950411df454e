#include "search/move_generation.h"

#include "search/pseudo_moves.h"

namespace search {

void AddMove(SearchPosition& position, int from, int to) {
  if (position.moveCount >= kMaxMoves) return;
  const int target = Square(position, to);
  if (position.kingCaptured != 0 && (target == kKingValue || target == -kKingValue)) return;
  MoveEntry& entry = position.moves[position.moveCount];
  entry.from = static_cast<int8_t>(from);
  entry.to = static_cast<int8_t>(to);
  ++position.moveCount;
}

void GenerateMoves(SearchPosition& position) {
  position.moveCount = 0;
  ForEachPseudoMove(position, [&](int from, int to) {
    AddMove(position, from, to);
    return position.moveCount < kMaxMoves;
  });
}

int CastlingTarget(const SearchPosition& position, int wing) {
  // The king's square, the step towards the rook and the rook's corner.
  static constexpr struct {
    int kingSquare, step, corner;
  } kWings[4] = {{51, 10, 81}, {51, -10, 11}, {58, 10, 88}, {58, -10, 18}};
  const auto& w = kWings[wing];
  for (int square = w.kingSquare + w.step;; square += w.step) {
    if (square == w.corner) return w.kingSquare + 2 * w.step;
    if (Square(position, square) != 0) return 0;
  }
}

}  // namespace search
