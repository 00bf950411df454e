#include <cstdlib>

#include "notation/notation.h"
#include "tracker/saturating_clock.h"
#include "tracker/tracked_position.h"

namespace tracker {

namespace {

using notation::kKingCode;
using notation::kKnightCode;
using notation::kPawnCode;
using notation::kQueenCode;
using notation::kRookCode;

bool OnBoard(BoardSquare square) {
  return square.file >= 1 && square.file <= 8 && square.rank >= 1 && square.rank <= 8;
}

int32_t& At(TrackedPosition& position, BoardSquare square) {
  return position.board[square.file - 1][square.rank - 1];
}

bool IsSquare(BoardSquare square, int32_t file, int32_t rank) {
  return square.file == file && square.rank == rank;
}

bool IsPawn(int32_t code) { return code == kPawnCode || code == -kPawnCode; }
bool IsRook(int32_t code) { return code == kRookCode || code == -kRookCode; }
bool IsKing(int32_t code) { return code == kKingCode || code == -kKingCode; }

// A king stepping two files takes the rook chosen by the product of its
// destination's file and rank; the flags are not consulted, and whatever stands
// on the rook's corner is carried across.
void MoveCastlingRook(TrackedPosition& position, BoardSquare kingTo) {
  struct RookStep {
    int32_t product;
    BoardSquare from;
    BoardSquare to;
  };
  static constexpr RookStep kRookSteps[] = {
      {7, {8, 1}, {6, 1}},
      {3, {1, 1}, {4, 1}},
      {56, {8, 8}, {6, 8}},
      {24, {1, 8}, {4, 8}},
  };
  const int32_t product = kingTo.file * kingTo.rank;
  for (const RookStep& step : kRookSteps) {
    if (step.product != product) continue;
    At(position, step.to) = At(position, step.from);
    At(position, step.from) = 0;
    return;
  }
}

// A rook leaving a corner, or any piece arriving on one, ends castling with
// that corner's rook: an arrival either takes the rook or finds it gone, and a
// flag left set would later let the king castle with no rook beside it.
void ClearCornerFlag(TrackedPosition& position, BoardSquare square) {
  if (IsSquare(square, 8, 1)) position.castling[kWhiteKingSideFlag] = 0;
  if (IsSquare(square, 1, 1)) position.castling[kWhiteQueenSideFlag] = 0;
  if (IsSquare(square, 8, 8)) position.castling[kBlackKingSideFlag] = 0;
  if (IsSquare(square, 1, 8)) position.castling[kBlackQueenSideFlag] = 0;
}

}  // namespace

void PlayMove(TrackedPosition& position, TrackedMove move, int32_t promotion) {
  if (!OnBoard(move.from) || !OnBoard(move.to)) return;
  if (promotion < kKnightCode || promotion > kQueenCode) promotion = kQueenCode;
  // The side is read as stored; the 64-bit sums keep a record filled by hand
  // with an odd side from overflowing.
  const int64_t side = position.sideToMove;
  const bool pawnMoved = IsPawn(At(position, move.from));
  const bool filesDiffer = move.from.file != move.to.file;

  // Any diagonal pawn step onto an empty square takes the pawn beside it,
  // whatever the en-passant field says.
  if (pawnMoved && At(position, move.to) == 0 && filesDiffer) {
    const int64_t victimRank = move.to.rank - side;
    if (victimRank >= 1 && victimRank <= 8) {
      position.board[move.to.file - 1][victimRank - 1] = 0;
    }
  }
  if (IsKing(At(position, move.from)) && std::abs(move.from.file - move.to.file) == 2) {
    MoveCastlingRook(position, move.to);
  }
  if (pawnMoved && (move.to.rank == 1 || move.to.rank == 8)) {
    At(position, move.from) *= promotion;
  }
  const int32_t moving = At(position, move.from);
  if (IsKing(moving)) {
    if (side == 1) {
      position.castling[kWhiteKingSideFlag] = 0;
      position.castling[kWhiteQueenSideFlag] = 0;
    } else {
      position.castling[kBlackKingSideFlag] = 0;
      position.castling[kBlackQueenSideFlag] = 0;
    }
  }
  if (IsRook(moving)) ClearCornerFlag(position, move.from);
  ClearCornerFlag(position, move.to);

  if (IsPawn(moving) && std::abs(move.from.rank - move.to.rank) == 2) {
    position.enPassant = {move.from.file, SaturateToInt32(move.from.rank + side)};
  } else {
    position.enPassant = {};
  }
  if (At(position, move.to) != 0 || pawnMoved) {
    position.halfmoveClock = 0;
  } else {
    position.halfmoveClock = SaturatingIncrement(position.halfmoveClock);
  }
  if (side == -1) position.fullmoveNumber = SaturatingIncrement(position.fullmoveNumber);

  // When from and to are the same square the piece is lifted off the board.
  At(position, move.to) = At(position, move.from);
  At(position, move.from) = 0;
  position.sideToMove = SaturateToInt32(-side);
}

void PlayMoveText(TrackedPosition& position, std::string_view moveText, int32_t defaultPromotion) {
  if (!notation::BeginsWithMoveSquares(moveText)) return;
  using notation::FileOfLetter;
  using notation::RankOfDigit;
  const TrackedMove move{{FileOfLetter(moveText[0]), RankOfDigit(moveText[1])},
                         {FileOfLetter(moveText[2]), RankOfDigit(moveText[3])}};
  // Only a text of exactly five characters names its piece; longer texts such
  // as "a7a8nq" take the default.
  const int32_t promotion = moveText.size() == 5
                                ? notation::PromotionCodeOfLetter(moveText[4]).value_or(defaultPromotion)
                                : defaultPromotion;
  PlayMove(position, move, promotion);
}

}  // namespace tracker
