#pragma once
#include <bit>
#include <concepts>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "search/direction_table.h"
#include "search/search_position.h"

namespace search {

// True when `difference` between two real squares is one king step; the frame
// around the board makes every such difference a true neighbour.
inline bool IsKingStep(int difference) {
  switch (difference) {
    case 1: case -1: case 9: case -9: case 10: case -10: case 11: case -11: return true;
    default: return false;
  }
}

// Lists the real squares holding `value` at most two files and two ranks away
// from the real square `centre`; returns how many. Files beyond the board read
// the frame, which never matches a piece.
inline int FindPiecesNear(const int8_t* b, int8_t value, int centre, int8_t* squares) {
  const uint64_t pattern = 0x0101010101010101ull * static_cast<uint8_t>(value);
  const int shift = 8 * (centre % 10 - 3);  // ranks centre - 2 .. centre + 2
  const uint64_t near = shift >= 0 ? 0xFFFFFFFFFFull << shift : 0xFFFFFFFFFFull >> -shift;
  const int centreFile = centre / 10;
  int count = 0;
  for (int file = centreFile - 2; file <= centreFile + 2; ++file) {
    uint64_t ranks;
    std::memcpy(&ranks, b + 10 * file + 1, 8);
    const uint64_t x = ranks ^ pattern;  // zero bytes where the value stands
    uint64_t equal = ~((((x & 0x7F7F7F7F7F7F7F7Full) + 0x7F7F7F7F7F7F7F7Full) | x) | 0x7F7F7F7F7F7F7F7Full) & near;
    for (; equal != 0; equal &= equal - 1)
      squares[count++] = static_cast<int8_t>(10 * file + 1 + std::countr_zero(equal) / 8);
  }
  return count;
}

template <typename Add>
inline bool Emit(Add& add, int from, int to, bool isPawnMove) {
  if constexpr (std::is_invocable_v<Add&, int, int, bool>)
    return add(from, to, isPawnMove);
  else
    return add(from, to);
}

// A caller that, at times, only counts moves onto empty squares (a scored
// quiet move is then worth no more than any other) says so through
// `CountingQuiets()` and takes a run of them at once through `CountQuiets(n)`,
// false ending the generation. Captures are still handed over one by one,
// after the quiet moves generated before them have been counted.
template <typename Add>
concept CountsQuietRuns = requires(Add& add, int n) {
  { add.CountingQuiets() } -> std::convertible_to<bool>;
  { add.CountQuiets(n) } -> std::convertible_to<bool>;
};

static_assert(std::endian::native == std::endian::little, "the file scan reads rank 1 from the lowest byte");

// The generator for one side, `s` known at compile time so that the tests of
// a square reduce to one addition and one comparison.
template <int s, typename Add>
inline void ForEachPseudoMoveOf(const SearchPosition& position, Add& add) {
  const int8_t* const b = position.board + kBoardOffset;
  const int enemyEp = EpSlot(position, -s);
  // open: empty or enemy (-(v*s) in 0..126); enemy: -(v*s) in 2..126.
  auto open = [&](int x) { return static_cast<unsigned>(-(b[x] * s)) <= 126u; };
  auto enemy = [&](int x) { return static_cast<unsigned>(-(b[x] * s) - 2) <= 124u; };
  // One direction of a slider on `from`, the offsets spelt out per piece so
  // that each ray's step is a constant; false ends the generation.
  const auto ray = [&](int from, int d) __attribute__((always_inline)) {
    if constexpr (CountsQuietRuns<Add>) {
      if (add.CountingQuiets()) {
        // Empty squares up to the first piece, then that piece if it is an enemy.
        int x = from + d;
        int quiets = 0;
        for (; b[x] == 0; x += d) ++quiets;
        if (quiets != 0 && !add.CountQuiets(quiets)) return false;
        return !enemy(x) || Emit(add, from, x, false);
      }
    }
    for (int x = from + d;; x += d) {
      if (!open(x)) return true;
      if (!Emit(add, from, x, false)) return false;
      if (b[x] != 0) return true;
    }
  };
  int8_t enemyKings[25];

  for (int file = 1; file <= 8; ++file) {
    // The eight squares of a file lie side by side (rank 1 first): one load
    // finds the side's pieces among them, and empty squares cost nothing.
    uint64_t ranks;
    std::memcpy(&ranks, b + 10 * file + 1, 8);
    const uint64_t nonZero = (((ranks & 0x7F7F7F7F7F7F7F7Full) + 0x7F7F7F7F7F7F7F7Full) | ranks) & 0x8080808080808080ull;
    const uint64_t negative = ranks & 0x8080808080808080ull;
    for (uint64_t own = s == 1 ? nonZero & ~negative : negative; own != 0; own &= own - 1) {
      const int rank = 1 + std::countr_zero(own) / 8;
      const int q = 10 * file + rank;
      const int t = b[q] * s;
      // Pawns, the most frequent pieces, are told apart before the jump on the kind.
      if (t == kPawn) {
        const int x = q + s;
        if constexpr (CountsQuietRuns<Add>) {
          if (add.CountingQuiets()) {
            // A step that promotes or lands on the en-passant square is handed
            // over; the plain steps are counted.
            int quiets = 0;
            const auto step = [&](int to, int toRank) {
              if (toRank != 1 && toRank != 8 && to != enemyEp) {
                ++quiets;
                return true;
              }
              const bool more = quiets == 0 || add.CountQuiets(quiets);
              quiets = 0;
              return more && Emit(add, q, to, true);
            };
            if (b[x] == 0) {
              if (!step(x, rank + s)) return;
              const int startRank = s == 1 ? 2 : 7;
              if (rank == startRank && b[q + 2 * s] == 0 && !step(q + 2 * s, rank + 2 * s)) return;
            }
            if (quiets != 0 && !add.CountQuiets(quiets)) return;
            for (int k = 2; k < 4; ++k) {
              const int y = q + kPawnOffsets[k] * s;
              if ((enemy(y) || (enemyEp != 0 && y == enemyEp)) && !Emit(add, q, y, true)) return;
            }
            continue;
          }
        }
        if (b[x] == 0) {
          if (!Emit(add, q, x, true)) return;
          const int startRank = s == 1 ? 2 : 7;
          if (rank == startRank && b[q + 2 * s] == 0 && !Emit(add, q, q + 2 * s, true)) return;
        }
        for (int k = 2; k < 4; ++k) {
          const int y = q + kPawnOffsets[k] * s;
          if ((enemy(y) || (enemyEp != 0 && y == enemyEp)) && !Emit(add, q, y, true)) return;
        }
        continue;
      }
      switch (t) {
        case kKnight:
          if constexpr (CountsQuietRuns<Add>) {
            if (add.CountingQuiets()) {
              int quiets = 0;
              for (int k = 0; k < 8; ++k) {
                const int x = q + kKnightOffsets[k];
                if (b[x] == 0) {
                  ++quiets;
                } else if (enemy(x)) {
                  if (quiets != 0 && !add.CountQuiets(quiets)) return;
                  quiets = 0;
                  if (!Emit(add, q, x, false)) return;
                }
              }
              if (quiets != 0 && !add.CountQuiets(quiets)) return;
              break;
            }
          }
          for (int k = 0; k < 8; ++k) {
            const int x = q + kKnightOffsets[k];
            if (open(x) && !Emit(add, q, x, false)) return;
          }
          break;
        case kBishop:
          if (!(ray(q, kBishopOffsets[0]) && ray(q, kBishopOffsets[1]) && ray(q, kBishopOffsets[2]) &&
                ray(q, kBishopOffsets[3])))
            return;
          break;
        case kRook:
          if (!(ray(q, kRookOffsets[0]) && ray(q, kRookOffsets[1]) && ray(q, kRookOffsets[2]) &&
                ray(q, kRookOffsets[3])))
            return;
          break;
        case kQueen:
          if (!(ray(q, kQueenOffsets[0]) && ray(q, kQueenOffsets[1]) && ray(q, kQueenOffsets[2]) &&
                ray(q, kQueenOffsets[3]) && ray(q, kQueenOffsets[4]) && ray(q, kQueenOffsets[5]) &&
                ray(q, kQueenOffsets[6]) && ray(q, kQueenOffsets[7])))
            return;
          break;
        case kKing: {
          // A target is refused when an enemy king stands one step from it. Only
          // enemy kings within two files and ranks can, and they are few (none or
          // one in any real game): list them, then compare square differences
          // instead of reading all eight neighbours of every target.
          const int enemyKingCount = FindPiecesNear(b, static_cast<int8_t>(-kKing * s), q, enemyKings);
          for (int k = 0; k < 8; ++k) {
            const int x = q + kQueenOffsets[k];
            if (!open(x)) continue;
            bool touchesEnemyKing = false;
            for (int j = 0; j < enemyKingCount; ++j) touchesEnemyKing |= IsKingStep(x - enemyKings[j]);
            if (!touchesEnemyKing && !Emit(add, q, x, false)) return;
          }
          break;
        }
        default:
          break;  // the frame (127) inside an unreached square
      }
    }
  }
}

// Walks the pseudo-legal non-castling moves of the side to move in the fixed
// order (squares a1, a2, ..., h8; offsets in table order) and hands each to
// `add(from, to)`, or `add(from, to, isPawnMove)` when `add` takes a third
// argument. Generation stops as soon as `add` returns false, which lets
// callers that only need the first moves, or one answer, stop early.
template <typename Add>
inline void ForEachPseudoMove(const SearchPosition& position, Add&& add) {
  if (position.sideToMove == 1)
    ForEachPseudoMoveOf<1>(position, add);
  else
    ForEachPseudoMoveOf<-1>(position, add);
}

}  // namespace search
