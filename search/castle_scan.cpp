#include "search/castle_scan.h"

#include <cstdint>
#include <cstdlib>

#include "search/pseudo_moves.h"

namespace search {
namespace {

// The wings a landing on `file` of a back rank spoils: bit 0 the king side
// (files e to h), bit 1 the queen side (files a to e).
constexpr unsigned WingsSpoiltBy(int file) { return file == 5 ? 3u : file >= 6 ? 1u : 2u; }

// WingsSpoiltBy for a landing on a square, when the back rank is rank 1 (row 0)
// or rank 8 (row 1).
struct LandingTable {
  uint8_t wings[2][100];
};

constexpr LandingTable MakeLandingTable() {
  LandingTable table{};
  for (int row = 0; row < 2; ++row) {
    for (int file = 1; file <= 8; ++file) {
      const int square = 10 * file + (row == 0 ? 1 : 8);
      table.wings[row][square] = static_cast<uint8_t>(WingsSpoiltBy(file));
    }
  }
  return table;
}

constexpr LandingTable kLandings = MakeLandingTable();

}  // namespace

void ClearWingsForFile(SearchPosition& position, int file) {
  int8_t* const safe = position.castlePathSafe;
  if ((WingsSpoiltBy(file) & 1) != 0) safe[kWhiteKingWing] = safe[kBlackKingWing] = kFlagClear;
  if ((WingsSpoiltBy(file) & 2) != 0) safe[kWhiteQueenWing] = safe[kBlackQueenWing] = kFlagClear;
}

void ClearWingsForPawnAttacks(SearchPosition& position, int side) {
  const int8_t enemyPawn = static_cast<int8_t>(-kPawnValue * side);
  const int pawnRank = (side == 1 ? 1 : 8) + side;
  for (int file = 1; file <= 8; ++file) {
    if (Square(position, 10 * file + pawnRank) != enemyPawn) continue;
    if (file > 1) ClearWingsForFile(position, file - 1);
    if (file < 8) ClearWingsForFile(position, file + 1);
  }
}

// Flattened: the generator and the landing test below compile into one loop.
[[gnu::flatten]] void ScanCastlePathsQuietly(SearchPosition& position, int side) {
  const uint8_t* const spoils = kLandings.wings[side == 1 ? 0 : 1];
  SearchPosition& p = position;  // read by the generator
  p.sideToMove = static_cast<int8_t>(-p.sideToMove);
  // Every enemy move counts, however many there are: the attacker of the
  // king's path may stand far down a long list. Moves onto a king are refused
  // once a king has been captured. The spoilt wings are gathered in a local so
  // that no store into the record slows the generator.
  unsigned spoilt = 0;
  const bool refuseKings = p.kingCaptured != 0;
  ForEachPseudoMove(p, [&](int, int to) {
    if (refuseKings && std::abs(Square(p, to)) == kKingValue) return true;
    spoilt |= spoils[to];
    return spoilt != 3;
  });
  p.sideToMove = static_cast<int8_t>(-p.sideToMove);
  const int8_t kingSide = (spoilt & 1) != 0 ? kFlagClear : kFlagSet;
  const int8_t queenSide = (spoilt & 2) != 0 ? kFlagClear : kFlagSet;
  position.castlePathSafe[kWhiteKingWing] = kingSide;
  position.castlePathSafe[kBlackKingWing] = kingSide;
  position.castlePathSafe[kWhiteQueenWing] = queenSide;
  position.castlePathSafe[kBlackQueenWing] = queenSide;
  ClearWingsForPawnAttacks(position, side);
}

}  // namespace search
