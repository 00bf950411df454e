#include "search/move_generation.h"

#include "search/pseudo_moves.h"

namespace search {
namespace {

struct CastlingWing {
  int kingSquare;
  int step;
  int corner;
};

constexpr CastlingWing kWings[4] = {{51, 10, 81}, {51, -10, 11}, {58, 10, 88}, {58, -10, 18}};

// Clears the flags of the wing a landing on `file` of the back rank spoils.
void ClearWingsForFile(SearchPosition& position, int file) {
  if (file == 5) {
    for (int8_t& flag : position.castlePathSafe) flag = kFalse;
  } else if (file >= 6) {
    position.castlePathSafe[kWingK] = kFalse;
    position.castlePathSafe[kWingk] = kFalse;
  } else {
    position.castlePathSafe[kWingQ] = kFalse;
    position.castlePathSafe[kWingq] = kFalse;
  }
}

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
  GenerateMoves(position);
  position.sideToMove = static_cast<int8_t>(-position.sideToMove);
  for (int i = 0; i < position.moveCount; ++i) {
    const int to = position.moves[i].to;
    if (to % 10 == backRank) ClearWingsForFile(position, to / 10);
  }
  // An enemy pawn's diagonal onto an empty square is no move, yet the king may
  // not pass through it: count the squares such pawns attack as well.
  const int8_t enemyPawn = static_cast<int8_t>(-kPawn * side);
  const int pawnRank = backRank + side;
  for (int file = 1; file <= 8; ++file) {
    if (Square(position, 10 * file + pawnRank) != enemyPawn) continue;
    if (file > 1) ClearWingsForFile(position, file - 1);
    if (file < 8) ClearWingsForFile(position, file + 1);
  }
}

void AddCastling(SearchPosition& position, int wing) {
  const CastlingWing& w = kWings[wing];
  for (int square = w.kingSquare + w.step;; square += w.step) {
    if (square == w.corner) {
      AddMove(position, w.kingSquare, w.kingSquare + 2 * w.step);
      return;
    }
    if (Square(position, square) != 0) return;
  }
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
