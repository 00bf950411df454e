#include "book/polyglot_key.h"

#include <cstddef>

#include "book/polyglot_random.h"

namespace book {
namespace {

bool HasKind(const BookPosition& position, int square, int kind) {
  return position.kind[static_cast<std::size_t>(square)] == kind;
}

// A castling letter counts only while its king and rook still stand at home: a book
// builder replaying the game dropped the right when the rook was taken in its corner,
// while a FEN written by simply following the moves may keep the letter.
bool CastleCounts(const BookPosition& position, std::size_t flag) {
  if (!position.castle[flag]) return false;
  const bool white = flag < 2;
  const int homeRank = white ? 0 : 56;
  const int rookSquare = homeRank + (flag % 2 == 0 ? 7 : 0);
  return HasKind(position, homeRank + 4, white ? kWhiteKingKind : kBlackKingKind) &&
         HasKind(position, rookSquare, white ? kWhiteRookKind : kBlackRookKind);
}

// The en-passant file is hashed only when a pawn of the side to move could take the pawn
// that has just made the double step; a FEN names the target square after every double step.
int EnPassantFileToHash(const BookPosition& position) {
  const int target = position.enPassantSquare;
  if (target < 0) return -1;
  const int targetRank = target / 8;
  if (targetRank != (position.whiteToMove ? 5 : 2)) return -1;
  const int pushedSquare = position.whiteToMove ? target - 8 : target + 8;
  const int ownPawn = position.whiteToMove ? kWhitePawnKind : kBlackPawnKind;
  const int theirPawn = position.whiteToMove ? kBlackPawnKind : kWhitePawnKind;
  if (!HasKind(position, pushedSquare, theirPawn)) return -1;
  const int file = target % 8;
  const bool left = file > 0 && HasKind(position, pushedSquare - 1, ownPawn);
  const bool right = file < 7 && HasKind(position, pushedSquare + 1, ownPawn);
  return left || right ? file : -1;
}

}  // namespace

std::uint64_t PolyglotKey(const BookPosition& position) {
  std::uint64_t key = 0;
  for (std::size_t square = 0; square < 64; ++square) {
    const int kind = position.kind[square];
    if (kind >= 0) key ^= kPolyglotRandom[64 * static_cast<std::size_t>(kind) + square];
  }
  for (std::size_t flag = 0; flag < 4; ++flag) {
    if (CastleCounts(position, flag)) key ^= kPolyglotRandom[kRandomCastleOffset + flag];
  }
  const int epFile = EnPassantFileToHash(position);
  if (epFile >= 0) key ^= kPolyglotRandom[kRandomEnPassantOffset + static_cast<std::size_t>(epFile)];
  if (position.whiteToMove) key ^= kPolyglotRandom[kRandomTurnOffset];
  return key;
}

}  // namespace book
