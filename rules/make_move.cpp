// Making and taking back moves, keeping the key up to date as pieces move.
#include <array>

#include "rules/attacks.h"
#include "rules/rules.h"
#include "rules/zobrist.h"

namespace rules {
namespace {

// Rights that survive a move from or to each square: a king or rook that moves, or a
// rook that is taken, spends its rights.
constexpr auto kCastlingKeptBySquare = [] {
  std::array<std::uint8_t, 64> kept{};
  for (auto& k : kept) k = 15;
  kept[MakeSquare(4, 0)] = 15 & ~(kWhiteKingside | kWhiteQueenside);
  kept[MakeSquare(7, 0)] = 15 & ~kWhiteKingside;
  kept[MakeSquare(0, 0)] = 15 & ~kWhiteQueenside;
  kept[MakeSquare(4, 7)] = 15 & ~(kBlackKingside | kBlackQueenside);
  kept[MakeSquare(7, 7)] = 15 & ~kBlackKingside;
  kept[MakeSquare(0, 7)] = 15 & ~kBlackQueenside;
  return kept;
}();

bool IsCastling(PieceType moving, Square from, Square to) {
  return moving == kKing && (to - from == 2 || from - to == 2);
}

bool IsEnPassant(PieceType moving, Square from, Square to, Piece captured) {
  return moving == kPawn && captured == kNoPiece && FileOf(from) != FileOf(to);
}

}  // namespace

void Position::MakeMove(Move move, UndoInfo& undo) {
  const auto& keys = zobrist::kKeys;
  const Square from = move.From();
  const Square to = move.To();
  const Piece piece = board_[from];
  const PieceType moving = TypeOf(piece);
  const Color us = side_;

  undo.key = key_;
  undo.captured = board_[to];
  undo.castling = castling_;
  undo.enPassant = enPassant_;
  undo.halfmoveClock = halfmoveClock_;

  key_ ^= keys.castling[castling_] ^ EnPassantKeyPart();

  if (undo.captured != kNoPiece) {
    key_ ^= keys.piece[undo.captured][to];
    RemovePiece(to);
  } else if (IsEnPassant(moving, from, to, undo.captured)) {
    const Square taken = us == Color::kWhite ? to - 8 : to + 8;
    key_ ^= keys.piece[board_[taken]][taken];
    RemovePiece(taken);
  } else if (IsCastling(moving, from, to)) {
    const Square rookFrom = to > from ? from + 3 : from - 4;
    const Square rookTo = to > from ? from + 1 : from - 1;
    const Piece rook = board_[rookFrom];
    key_ ^= keys.piece[rook][rookFrom] ^ keys.piece[rook][rookTo];
    RemovePiece(rookFrom);
    PutPiece(rook, rookTo);
  }

  const Piece arriving = move.Promotion() != kNoPieceType ? MakePiece(us, move.Promotion()) : piece;
  key_ ^= keys.piece[piece][from] ^ keys.piece[arriving][to];
  RemovePiece(from);
  PutPiece(arriving, to);

  enPassant_ = (moving == kPawn && (to - from == 16 || from - to == 16))
                   ? static_cast<std::int8_t>((from + to) / 2)
                   : static_cast<std::int8_t>(kNoSquare);
  castling_ &= kCastlingKeptBySquare[from] & kCastlingKeptBySquare[to];
  halfmoveClock_ = (moving == kPawn || undo.captured != kNoPiece) ? 0 : static_cast<std::uint16_t>(halfmoveClock_ + 1);
  if (us == Color::kBlack) ++fullmoveNumber_;
  side_ = Opponent(us);

  key_ ^= keys.blackToMove ^ keys.castling[castling_] ^ EnPassantKeyPart();
}

void Position::UnmakeMove(Move move, const UndoInfo& undo) {
  const Square from = move.From();
  const Square to = move.To();
  side_ = Opponent(side_);
  const Color us = side_;
  if (us == Color::kBlack) --fullmoveNumber_;

  const Piece moved = move.Promotion() != kNoPieceType ? MakePiece(us, kPawn) : board_[to];
  const PieceType moving = TypeOf(moved);
  RemovePiece(to);
  PutPiece(moved, from);

  if (undo.captured != kNoPiece) {
    PutPiece(undo.captured, to);
  } else if (IsEnPassant(moving, from, to, undo.captured)) {
    PutPiece(MakePiece(Opponent(us), kPawn), us == Color::kWhite ? to - 8 : to + 8);
  } else if (IsCastling(moving, from, to)) {
    const Square rookFrom = to > from ? from + 3 : from - 4;
    const Square rookTo = to > from ? from + 1 : from - 1;
    const Piece rook = board_[rookTo];
    RemovePiece(rookTo);
    PutPiece(rook, rookFrom);
  }

  key_ = undo.key;
  castling_ = undo.castling;
  enPassant_ = undo.enPassant;
  halfmoveClock_ = undo.halfmoveClock;
}

}  // namespace rules
