#pragma once
// The position tracker: a board that follows the game of a "position" command.
// It loads a FEN text, plays move texts on it exactly as written (no legality
// check) and writes it back as a FEN text. It keeps no state of its own; the
// caller owns the record.
#include <cstdint>
#include <string>
#include <string_view>

namespace tracker {

// A square by file (1..8 for a..h) and rank (1..8). (0, 0) stands for "none"
// in the en-passant field.
struct BoardSquare {
  int32_t file = 0;
  int32_t rank = 0;
};

// Indices into TrackedPosition::castling.
inline constexpr int kWhiteKingSideFlag = 0;   // "K"
inline constexpr int kWhiteQueenSideFlag = 1;  // "Q"
inline constexpr int kBlackKingSideFlag = 2;   // "k"
inline constexpr int kBlackQueenSideFlag = 3;  // "q"

// The board holds the piece codes of the FEN letter table (notation::kPieceLetters):
// positive for white, negative for black, 0 for an empty square.
struct TrackedPosition {
  int32_t board[8][8] = {};  // [file - 1][rank - 1]: a1, a2, ..., a8, b1, ..., h8
  int32_t sideToMove = 0;    // +1 white, -1 black
  uint8_t castling[4] = {};  // K, Q, k, q; each 0 or 1
  BoardSquare enPassant;     // file 0 means none
  int32_t halfmoveClock = 0;
  int32_t fullmoveNumber = 0;
};

struct TrackedMove {
  BoardSquare from;
  BoardSquare to;
};

// Fills the record from any text; never fails. Squares the placement field does
// not reach keep their codes. The clocks saturate at the signed 32-bit limits.
void PositionFromFen(TrackedPosition& position, std::string_view fen);

// Plays a move text "e2e4" / "a7a8n" with `defaultPromotion` (piece code 2 knight .. 5 queen)
// unless the text is exactly five characters with a fifth letter from "nbrq".
// A text that does not begin with a file letter, a rank digit, a file letter and
// a rank digit is not a move and leaves the record unchanged.
void PlayMoveText(TrackedPosition& position, std::string_view moveText, int32_t defaultPromotion);

// Plays `move` as written: captures, en passant, castling, promotion, castling
// rights, en-passant target, clocks and side to move. A promotion code outside
// 2..5 promotes to a queen; a move with a square off the board is not played.
void PlayMove(TrackedPosition& position, TrackedMove move, int32_t promotion);

// "e3" for (5, 3): the characters with codes file + 96 and rank + 48.
std::string SquareText(BoardSquare square);

// The six-field FEN text of the record.
std::string PositionToFen(const TrackedPosition& position);

}  // namespace tracker
