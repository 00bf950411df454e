#include <cstddef>

#include "book/book.h"
#include "book/polyglot_random.h"

namespace book {
namespace {

using rules::Color;

bool Holds(const rules::Position& position, rules::Square square, Color color, rules::PieceType type) {
  return position.PieceOn(square) == rules::MakePiece(color, type);
}

// Polyglot's piece kinds: black pawn 0, white pawn 1, black knight 2, ..., white king 11.
std::size_t KindOf(rules::Piece piece) {
  return 2 * static_cast<std::size_t>(rules::TypeOf(piece) - 1) + (rules::ColorOf(piece) == Color::kWhite ? 1 : 0);
}

// A castling letter counts only while its king and rook still stand at home: a book
// builder replaying the game dropped the right when the rook was taken in its corner,
// while a FEN written by simply following the moves may keep the letter.
bool CastleCounts(const rules::Position& position, std::size_t flag) {
  if (!position.HasCastlingRight(static_cast<rules::CastlingRight>(1u << flag))) return false;
  const Color color = flag < 2 ? Color::kWhite : Color::kBlack;
  const rules::Square homeRank = flag < 2 ? 0 : 56;
  const rules::Square rookSquare = homeRank + (flag % 2 == 0 ? 7 : 0);
  return Holds(position, homeRank + 4, color, rules::kKing) && Holds(position, rookSquare, color, rules::kRook);
}

// The en-passant file is hashed only when a pawn of the side to move could take the pawn
// that has just made the double step; a FEN names the target square after every double step.
int EnPassantFileToHash(const rules::Position& position) {
  const rules::Square target = position.EnPassantSquare();
  if (target == rules::kNoSquare) return -1;
  const Color us = position.SideToMove();
  const bool white = us == Color::kWhite;
  if (rules::RankOf(target) != (white ? 5 : 2)) return -1;
  const rules::Square pushedSquare = white ? target - 8 : target + 8;
  if (!Holds(position, pushedSquare, rules::Opponent(us), rules::kPawn)) return -1;
  const int file = rules::FileOf(target);
  const bool left = file > 0 && Holds(position, pushedSquare - 1, us, rules::kPawn);
  const bool right = file < 7 && Holds(position, pushedSquare + 1, us, rules::kPawn);
  return left || right ? file : -1;
}

}  // namespace

std::uint64_t PolyglotKey(const rules::Position& position) {
  std::uint64_t key = 0;
  for (rules::Square square = 0; square < 64; ++square) {
    const rules::Piece piece = position.PieceOn(square);
    if (piece != rules::kNoPiece) key ^= kPolyglotRandom[64 * KindOf(piece) + static_cast<std::size_t>(square)];
  }
  for (std::size_t flag = 0; flag < 4; ++flag) {
    if (CastleCounts(position, flag)) key ^= kPolyglotRandom[kRandomCastleOffset + flag];
  }
  const int epFile = EnPassantFileToHash(position);
  if (epFile >= 0) key ^= kPolyglotRandom[kRandomEnPassantOffset + static_cast<std::size_t>(epFile)];
  if (position.SideToMove() == Color::kWhite) key ^= kPolyglotRandom[kRandomTurnOffset];
  return key;
}

}  // namespace book
