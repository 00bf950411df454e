#pragma once
#include "search/direction_table.h"
#include "search/search_position.h"

namespace search {

// Walks the pseudo-legal non-castling moves of the side to move in the fixed
// order (squares a1, a2, ..., h8; offsets in table order) and hands each to
// `add(from, to)`. Generation stops as soon as `add` returns false, which lets
// callers that only need the first moves, or one answer, stop early.
template <typename Add>
inline void ForEachPseudoMove(const SearchPosition& position, Add&& add) {
  const int8_t* const b = position.board + kBoardOffset;
  const int s = position.sideToMove;
  const int enemyEp = EpSlot(position, -s);
  // open: empty or enemy (-(v*s) in 0..126); enemy: -(v*s) in 2..126.
  auto open = [&](int x) { return static_cast<unsigned>(-(b[x] * s)) <= 126u; };
  auto enemy = [&](int x) { return static_cast<unsigned>(-(b[x] * s) - 2) <= 124u; };

  for (int file = 1; file <= 8; ++file) {
    for (int q = 10 * file + 1; q <= 10 * file + 8; ++q) {
      const int t = b[q] * s;
      if (t <= 0) continue;  // empty or enemy
      switch (t) {
        case kPawn: {
          const int x = q + s;
          if (b[x] == 0) {
            if (!add(q, x)) return;
            const int startRank = s == 1 ? 2 : 7;
            if (q % 10 == startRank && b[q + 2 * s] == 0 && !add(q, q + 2 * s)) return;
          }
          for (int k = 2; k < 4; ++k) {
            const int y = q + kPawnOffsets[k] * s;
            if ((enemy(y) || (enemyEp != 0 && y == enemyEp)) && !add(q, y)) return;
          }
          break;
        }
        case kKnight:
          for (int k = 0; k < 8; ++k) {
            const int x = q + kKnightOffsets[k];
            if (open(x) && !add(q, x)) return;
          }
          break;
        case kBishop:
        case kRook:
        case kQueen: {
          const int8_t* offsets = t == kBishop ? kBishopOffsets : t == kRook ? kRookOffsets : kQueenOffsets;
          const int count = t == kQueen ? 8 : 4;
          for (int k = 0; k < count; ++k) {
            const int d = offsets[k];
            for (int x = q + d;; x += d) {
              if (!open(x)) break;
              if (!add(q, x)) return;
              if (b[x] != 0) break;
            }
          }
          break;
        }
        case kKing: {
          const int enemyKing = -kKing * s;
          for (int k = 0; k < 8; ++k) {
            const int x = q + kQueenOffsets[k];
            if (!open(x)) continue;
            bool touchesEnemyKing = false;
            for (int j = 0; j < 8; ++j) touchesEnemyKing |= b[x + kQueenOffsets[j]] == enemyKing;
            if (!touchesEnemyKing && !add(q, x)) return;
          }
          break;
        }
        default:
          break;  // the frame (127) inside an unreached square
      }
    }
  }
}

}  // namespace search
