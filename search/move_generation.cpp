#include "search/move_generation.h"

#include "search/castle_scan.h"
#include "search/pseudo_moves.h"

namespace search {
namespace {

struct CastlingWing {
  int kingSquare;
  int step;
  int corner;
};

constexpr CastlingWing kWings[4] = {{51, 10, 81}, {51, -10, 11}, {58, 10, 88}, {58, -10, 18}};

}  // namespace

void AddMove(SearchPosition& position, int from, int to) {
  if (position.moveCount >= kMaxMoves) return;
  if (position.kingCaptured != 0 && (Square(position, to) == kKing || Square(position, to) == -kKing)) return;
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

void ScanCastlePaths(SearchPosition& position, int side) {
  const int backRank = side == 1 ? 1 : 8;
  for (int8_t& flag : position.castlePathSafe) flag = kTrue;
  position.sideToMove = static_cast<int8_t>(-position.sideToMove);
  // The list keeps the opponent's first 80 moves, but every one of them is
  // read for the flags: with several queens the attacker of the king's path
  // can come after the 80th.
  position.moveCount = 0;
  ForEachPseudoMove(position, [&](int from, int to) {
    const bool refused = position.kingCaptured != 0 && (Square(position, to) == kKing || Square(position, to) == -kKing);
    if (!refused && to % 10 == backRank) ClearWingsForFile(position, to / 10);
    AddMove(position, from, to);
    return true;
  });
  position.sideToMove = static_cast<int8_t>(-position.sideToMove);
  ClearWingsForPawnAttacks(position, side);
}

int CastlingTarget(const SearchPosition& position, int wing) {
  const CastlingWing& w = kWings[wing];
  for (int square = w.kingSquare + w.step;; square += w.step) {
    if (square == w.corner) return w.kingSquare + 2 * w.step;
    if (Square(position, square) != 0) return 0;
  }
}

void AddCastling(SearchPosition& position, int wing) {
  const int target = CastlingTarget(position, wing);
  if (target != 0) AddMove(position, kWings[wing].kingSquare, target);
}

void GenerateAllMoves(SearchPosition& position) {
  ScanCastlePaths(position, position.sideToMove);
  GenerateMoves(position);
  const int firstWing = position.sideToMove == 1 ? kWingK : kWingk;
  for (int wing = firstWing; wing < firstWing + 2; ++wing) {
    if (position.castleRight[wing] != 0 && position.castlePathSafe[wing] != 0) AddCastling(position, wing);
  }
}

}  // namespace search
