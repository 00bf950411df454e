#pragma once
#include <bit>
#include <cstdint>
#include <cstring>

#include "search/direction_table.h"
#include "search/search_position.h"

namespace search {

// Walks the pseudo-legal non-castling moves of the side to move in the fixed
// order (squares a1, a2, ..., h8; offsets in table order) and hands each to
// `add(from, to)`. Generation stops as soon as `add` returns false, which lets
// callers that only need the first moves, or one answer, stop early.
static_assert(std::endian::native == std::endian::little, "the file scan reads rank 1 from the lowest byte");

template <typename Add>
inline void ForEachPseudoMove(const SearchPosition& position, Add&& add) {
  const int8_t* const b = position.board + kBoardOffset;
  const int s = position.sideToMove;
  const int enemyEp = EpSlot(position, -s);
  // open: empty or enemy (-(v*s) in 0..126); enemy: -(v*s) in 2..126.
  auto open = [&](int x) { return static_cast<unsigned>(-(b[x] * s)) <= 126u; };
  auto enemy = [&](int x) { return static_cast<unsigned>(-(b[x] * s) - 2) <= 124u; };

  for (int file = 1; file <= 8; ++file) {
    // The eight squares of a file lie side by side (rank 1 first): one load
    // finds the side's pieces among them, and empty squares cost nothing.
    uint64_t ranks;
    std::memcpy(&ranks, b + 10 * file + 1, 8);
    const uint64_t nonZero = (((ranks & 0x7F7F7F7F7F7F7F7Full) + 0x7F7F7F7F7F7F7F7Full) | ranks) & 0x8080808080808080ull;
    const uint64_t negative = ranks & 0x8080808080808080ull;
    for (uint64_t own = s == 1 ? nonZero & ~negative : negative; own != 0; own &= own - 1) {
      const int q = 10 * file + 1 + std::countr_zero(own) / 8;
      const int t = b[q] * s;
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
