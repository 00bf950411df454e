#include "search/make_move.h"

#include <cstdlib>
#include <cstring>

namespace search {
namespace {

bool OnLastRank(int square) { return square % 10 == 1 || square % 10 == 8; }

bool IsCastlingStep(int from, int to, int piece) {
  return from >= 51 && from <= 58 && (to == 71 || to == 31 || to == 78 || to == 38) && std::abs(piece) == kKingValue;
}

// The right that a rook leaving or being taken on `square` spoils, if a corner.
int CornerWing(int square) {
  switch (square) {
    case 81: return kWhiteKingWing;
    case 11: return kWhiteQueenWing;
    case 88: return kBlackKingWing;
    case 18: return kBlackQueenWing;
    default: return -1;
  }
}

int16_t Ply(int ply) { return static_cast<int16_t>(ply > INT16_MAX ? INT16_MAX : ply < INT16_MIN ? INT16_MIN : ply); }

}  // namespace

void MakeMove(SearchPosition& position, int from, int to, int promotion) {
  const int s = position.sideToMove;
  const int moving = Square(position, from);
  const int target = Square(position, to);
  if (moving == kKingValue) {
    position.castleRight[kWhiteKingWing] = kFlagClear;
    position.castleRight[kWhiteQueenWing] = kFlagClear;
  } else if (moving == -kKingValue) {
    position.castleRight[kBlackKingWing] = kFlagClear;
    position.castleRight[kBlackQueenWing] = kFlagClear;
  }
  if (std::abs(moving) == kRookValue && CornerWing(from) >= 0) position.castleRight[CornerWing(from)] = kFlagClear;
  if (std::abs(target) == kRookValue && CornerWing(to) >= 0) position.castleRight[CornerWing(to)] = kFlagClear;
  if (std::abs(target) == kKingValue) position.kingCaptured = kFlagSet;
  EpSlot(position, s) = std::abs(to - from) == 2 && std::abs(moving) == kPawnValue ? static_cast<int8_t>(from + s) : 0;

  const int enemyEp = EpSlot(position, -s);
  if (enemyEp != 0 && to == enemyEp && moving == kPawnValue * s) {
    // The pawn first takes sideways onto the passed pawn's square, then steps on.
    EpSlot(position, s) = 0;
    const int taken = (to / 10) * 10 + from % 10;
    MakeMove(position, from, taken, 19);
    position.sideToMove = static_cast<int8_t>(s);
    position.ply = Ply(position.ply - 1);
    from = taken;
  }

  const int piece = Square(position, from);
  if (IsCastlingStep(from, to, piece)) {
    Square(position, to) = static_cast<int8_t>(piece);
    Square(position, from) = 0;
    const int rank = from % 10;
    const int rookFrom = to / 10 == 7 ? 80 + rank : 10 + rank;
    const int rookTo = to / 10 == 7 ? 60 + rank : 40 + rank;
    Square(position, rookTo) = Square(position, rookFrom);
    Square(position, rookFrom) = 0;
  } else {
    position.material = static_cast<int16_t>(position.material - Square(position, to));
    Square(position, to) = static_cast<int8_t>(piece);
    Square(position, from) = 0;
    if (OnLastRank(to) && std::abs(piece) == kPawnValue) {
      Square(position, to) = static_cast<int8_t>(promotion * s);
      position.material = static_cast<int16_t>(position.material + (promotion - kPawnValue) * s);
    }
  }
  position.sideToMove = static_cast<int8_t>(-s);
  position.ply = Ply(position.ply + 1);
}

int16_t MaterialAfterMove(const SearchPosition& position, int from, int to) {
  const int s = position.sideToMove;
  const int8_t* const b = position.board + kBoardOffset;
  const int piece = b[from];
  const int enemyEp = EpSlot(position, -s);
  if (enemyEp != 0 && to == enemyEp && piece == kPawnValue * s) {
    // Rare enough to play out in full, which keeps it exact by construction.
    SearchPosition copy;
    CopyPositionState(copy, position);
    MakeMove(copy, from, to, kQueenValue);
    return copy.material;
  }
  if (IsCastlingStep(from, to, piece)) return position.material;
  int material = position.material - b[to];
  if (OnLastRank(to) && std::abs(piece) == kPawnValue) material += (kQueenValue - kPawnValue) * s;
  return static_cast<int16_t>(material);
}

}  // namespace search
