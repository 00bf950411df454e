#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace tracker {

struct BoardSquare {
  int32_t file = 0;
  int32_t rank = 0;
};

struct TrackedPosition {
  int32_t board[8][8] = {};  // [file-1][rank-1]
  int32_t sideToMove = 0;
  uint8_t castling[4] = {};  // K, Q, k, q
  BoardSquare enPassant;
  int32_t halfmoveClock = 0;
  int32_t fullmoveNumber = 0;
};

void PositionFromFen(TrackedPosition& position, std::string_view fen);
void PlayMoveText(TrackedPosition& position, std::string_view moveText, int32_t defaultPromotion);
std::string PositionToFen(const TrackedPosition& position);

}  // namespace tracker
