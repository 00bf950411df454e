#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace search {

// Squares are 10 x file + rank (a1 = 11, h8 = 88). The board array covers
// -10..109 so that every step of the direction table from a real square stays
// inside it; the frame around the 64 squares holds OffBoard and never changes.
inline constexpr int kBoardOffset = 10;
inline constexpr int kBoardSize = 120;
inline constexpr int kMaxMoves = 80;

// A piece is stored as its material value, positive for white.
inline constexpr int8_t OffBoard = 127;
inline constexpr int8_t kPawnValue = 2;
inline constexpr int8_t kKnightValue = 7;
inline constexpr int8_t kBishopValue = 6;
inline constexpr int8_t kRookValue = 10;
inline constexpr int8_t kQueenValue = 19;
inline constexpr int8_t kKingValue = 126;

// A flag in the records is -1 when set and 0 when clear.
inline constexpr int8_t kFlagSet = -1;
inline constexpr int8_t kFlagClear = 0;

// Castling wings, in the order of castleRight and castlePathSafe.
inline constexpr int kWhiteKingWing = 0;
inline constexpr int kWhiteQueenWing = 1;
inline constexpr int kBlackKingWing = 2;
inline constexpr int kBlackQueenWing = 3;

struct MoveEntry {
  int8_t from;
  int8_t to;
  int16_t score;
};

struct SearchPosition {
  int8_t board[kBoardSize];  // index square + kBoardOffset
  int8_t castleRight[4];     // K, Q, k, q
  int8_t castlePathSafe[4];  // K, Q, k, q
  int8_t epSquare[3];        // index side + 1: slot 0 black, slot 2 white
  int8_t sideToMove;
  int8_t kingCaptured;
  int16_t ply;
  int16_t material;
  MoveEntry moves[kMaxMoves];  // entry number n lives at moves[n - 1]
  int8_t moveCount;
};

// Everything in front of the move list: what a child needs of its parent.
// The child regenerates its list before reading it, so the list is not copied.
inline constexpr unsigned kPositionStateBytes = offsetof(SearchPosition, moves);

// Copies board, rights, squares, side, flags and counters; the list stays as it was.
inline void CopyPositionState(SearchPosition& to, const SearchPosition& from) {
  std::memcpy(&to, &from, kPositionStateBytes);
}

inline int8_t& Square(SearchPosition& position, int square) { return position.board[square + kBoardOffset]; }
inline int8_t Square(const SearchPosition& position, int square) { return position.board[square + kBoardOffset]; }
inline int8_t& EpSlot(SearchPosition& position, int side) { return position.epSquare[side + 1]; }
inline int8_t EpSlot(const SearchPosition& position, int side) { return position.epSquare[side + 1]; }

inline bool IsEdgeSquare(int square) {
  const int file = square / 10;
  const int rank = square % 10;
  return file == 1 || file == 8 || rank == 1 || rank == 8;
}

inline bool IsRealSquare(int square) {
  const int file = square / 10;
  const int rank = square % 10;
  return square >= 11 && square <= 88 && file >= 1 && file <= 8 && rank >= 1 && rank <= 8;
}

}  // namespace search
