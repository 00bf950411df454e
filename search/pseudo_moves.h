#pragma once
#include <cstdint>

#include "search/board_bytes.h"
#include "search/piece_moves.h"
#include "search/search_position.h"

namespace search {

// The generator for one side, `s` known at compile time.
template <int s, typename Add>
inline void ForEachPseudoMoveOf(const SearchPosition& position, Add& add) {
  const int8_t* const b = position.board + kBoardOffset;
  PieceMoves<s, Add> moves(position, add);
  for (int file = 1; file <= 8; ++file) {
    // One load finds the side's pieces among the file's squares, and empty squares cost nothing.
    const uint64_t ranks = FileBytes(b, file);
    const uint64_t negative = ranks & kHighBits;
    for (uint64_t own = s == 1 ? NonZeroBytes(ranks) & ~negative : negative; own != 0; own &= own - 1) {
      const int rank = LowestRank(own);
      if (!moves.Moves(10 * file + rank, rank)) return;
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
