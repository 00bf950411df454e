#include "search/castle_scan.h"

#include <cstdlib>

#include "search/pseudo_moves.h"

namespace search {

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

void ClearWingsForPawnAttacks(SearchPosition& position, int side) {
  const int8_t enemyPawn = static_cast<int8_t>(-kPawn * side);
  const int pawnRank = (side == 1 ? 1 : 8) + side;
  for (int file = 1; file <= 8; ++file) {
    if (Square(position, 10 * file + pawnRank) != enemyPawn) continue;
    if (file > 1) ClearWingsForFile(position, file - 1);
    if (file < 8) ClearWingsForFile(position, file + 1);
  }
}

void ScanCastlePathsQuietly(SearchPosition& position, int side) {
  const int backRank = side == 1 ? 1 : 8;
  for (int8_t& flag : position.castlePathSafe) flag = kTrue;
  const int kingWing = side == 1 ? kWingK : kWingk;
  SearchPosition& p = position;  // read by the generator, flags written alongside
  p.sideToMove = static_cast<int8_t>(-p.sideToMove);
  // The opponent's list would keep its first 80 entries only; moves onto a
  // king are refused once a king has been captured.
  int listed = 0;
  const bool refuseKings = p.kingCaptured != 0;
  ForEachPseudoMove(p, [&](int, int to) {
    if (refuseKings && std::abs(Square(p, to)) == kKing) return true;
    ++listed;
    if (to % 10 == backRank) ClearWingsForFile(p, to / 10);
    const bool bothSpoilt = p.castlePathSafe[kingWing] == 0 && p.castlePathSafe[kingWing + 1] == 0;
    return listed < kMaxMoves && !bothSpoilt;
  });
  p.sideToMove = static_cast<int8_t>(-p.sideToMove);
  ClearWingsForPawnAttacks(position, side);
}

}  // namespace search
