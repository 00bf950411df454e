// Board bookkeeping, the position key and the attack and check questions.
#include "rules/attacks.h"
#include "rules/rules.h"
#include "rules/zobrist.h"

namespace rules {

using namespace attacks;

void Position::PutPiece(Piece piece, Square square) {
  board_[square] = piece;
  byType_[TypeOf(piece)] |= SquareBit(square);
  byColor_[Index(ColorOf(piece))] |= SquareBit(square);
}

void Position::RemovePiece(Square square) {
  const Piece piece = board_[square];
  board_[square] = kNoPiece;
  byType_[TypeOf(piece)] &= ~SquareBit(square);
  byColor_[Index(ColorOf(piece))] &= ~SquareBit(square);
}

Square Position::KingSquare(Color color) const { return LowestSquare(Pieces(color, kKing)); }

// The en-passant square counts only when a pawn of the side to move stands beside
// the pawn that made the double step, so positions that differ in nothing else meet.
std::uint64_t Position::EnPassantKeyPart() const {
  if (enPassant_ == kNoSquare) return 0;
  if ((PawnAttacks(Opponent(side_), enPassant_) & Pieces(side_, kPawn)) == 0) return 0;
  return zobrist::kKeys.enPassantFile[FileOf(enPassant_)];
}

std::uint64_t Position::ComputeKey() const {
  std::uint64_t key = 0;
  for (Square s = 0; s < 64; ++s) {
    if (board_[s] != kNoPiece) key ^= zobrist::kKeys.piece[board_[s]][s];
  }
  key ^= zobrist::kKeys.castling[castling_];
  key ^= EnPassantKeyPart();
  if (side_ == Color::kBlack) key ^= zobrist::kKeys.blackToMove;
  return key;
}

bool Position::IsAttackedBy(Color attacker, Square square) const {
  const Bitboard occupied = Occupied();
  const Bitboard them = Pieces(attacker);
  const Bitboard diagonal = them & (byType_[kBishop] | byType_[kQueen]);
  const Bitboard straight = them & (byType_[kRook] | byType_[kQueen]);
  return (PawnAttacks(Opponent(attacker), square) & them & byType_[kPawn]) != 0 ||
         (KnightAttacks(square) & them & byType_[kKnight]) != 0 ||
         (KingAttacks(square) & them & byType_[kKing]) != 0 ||
         (diagonal != 0 && (BishopAttacks(square, occupied) & diagonal) != 0) ||
         (straight != 0 && (RookAttacks(square, occupied) & straight) != 0);
}

bool Position::InCheck() const { return IsAttackedBy(Opponent(side_), KingSquare(side_)); }

bool Position::OpponentInCheck() const { return IsAttackedBy(side_, KingSquare(Opponent(side_))); }

bool Position::GivesCheck(Move move) const {
  const Color us = side_;
  const Square from = move.From();
  const Square to = move.To();
  const Square theirKing = KingSquare(Opponent(us));
  const PieceType moving = TypeOf(board_[from]);
  const PieceType arriving = move.Promotion() != kNoPieceType ? move.Promotion() : moving;

  Bitboard occupied = (Occupied() & ~SquareBit(from)) | SquareBit(to);
  Bitboard ourPieces = (Pieces(us) & ~SquareBit(from)) | SquareBit(to);
  Square rookTo = kNoSquare;
  if (moving == kPawn && to == enPassant_ && board_[to] == kNoPiece && FileOf(from) != FileOf(to)) {
    occupied &= ~SquareBit(us == Color::kWhite ? to - 8 : to + 8);
  } else if (moving == kKing && (to - from == 2 || from - to == 2)) {
    const Square rookFrom = to > from ? from + 3 : from - 4;
    rookTo = to > from ? from + 1 : from - 1;
    occupied = (occupied & ~SquareBit(rookFrom)) | SquareBit(rookTo);
    ourPieces = (ourPieces & ~SquareBit(rookFrom)) | SquareBit(rookTo);
  }

  if (PieceAttacks(arriving, us, to, occupied) & SquareBit(theirKing)) return true;
  if (rookTo != kNoSquare && (RookAttacks(rookTo, occupied) & SquareBit(theirKing))) return true;

  // Discovered checks: our sliders, other than the piece that moved, seeing the king.
  const Bitboard stayed = ourPieces & ~SquareBit(to);
  const Bitboard diagonal = stayed & (byType_[kBishop] | byType_[kQueen]);
  const Bitboard straight = stayed & (byType_[kRook] | byType_[kQueen]);
  return (BishopAttacks(theirKing, occupied) & diagonal) != 0 ||
         (RookAttacks(theirKing, occupied) & straight) != 0;
}

CheckInfo Position::ComputeCheckInfo() const {
  CheckInfo info{};
  const Color us = side_;
  const Square king = KingSquare(Opponent(us));
  const Bitboard occupied = Occupied();
  info.enemyKing = king;
  info.checkSquares[kPawn] = PawnAttacks(Opponent(us), king);
  info.checkSquares[kKnight] = KnightAttacks(king);
  info.checkSquares[kBishop] = BishopAttacks(king, occupied);
  info.checkSquares[kRook] = RookAttacks(king, occupied);
  info.checkSquares[kQueen] = info.checkSquares[kBishop] | info.checkSquares[kRook];
  const Bitboard snipers = (RookAttacks(king, 0) & Pieces(us) & (byType_[kRook] | byType_[kQueen])) |
                           (BishopAttacks(king, 0) & Pieces(us) & (byType_[kBishop] | byType_[kQueen]));
  for (Bitboard remaining = snipers; remaining != 0;) {
    const Bitboard blockers = Between(king, PopLowest(remaining)) & occupied;
    if (blockers != 0 && !MoreThanOne(blockers)) info.discoverers |= blockers & Pieces(us);
  }
  return info;
}

bool Position::GivesCheck(Move move, const CheckInfo& info) const {
  const Square from = move.From();
  const Square to = move.To();
  const PieceType moving = TypeOf(board_[from]);
  const bool special = move.Promotion() != kNoPieceType || (moving == kKing && (to - from == 2 || from - to == 2)) ||
                       (moving == kPawn && board_[to] == kNoPiece && FileOf(from) != FileOf(to));
  if (special) return GivesCheck(move);
  if (info.checkSquares[moving] & SquareBit(to)) return true;
  return (info.discoverers & SquareBit(from)) != 0 && (Line(from, info.enemyKing) & SquareBit(to)) == 0;
}

}  // namespace rules
