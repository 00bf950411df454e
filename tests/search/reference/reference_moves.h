#pragma once
// The search's move generation, check test and evaluation as the rules state
// them, one list at a time: the yardstick for the engine's search, which
// reaches the same answers by shorter roads.
#include <cstdint>

#include "search/search_position.h"

namespace search_reference {

using search::SearchPosition;

// Sets castlePathSafe from the opponent's moves onto `side`'s back rank and the
// back-rank squares enemy pawns attack; leaves the opponent's moves in the list.
void ScanCastlePaths(SearchPosition& position, int side);
// Appends the castling move of `wing` (0..3: K, Q, k, q) when the squares
// between king and rook are empty.
void AddCastling(SearchPosition& position, int wing);
// Castle scan, ordinary moves, then castling: the whole list of a node.
void GenerateAllMoves(SearchPosition& position);

// True when one of the opponent's generated moves (the first 80) lands on a
// king; leaves the opponent's moves in the list and the side to move as it was.
bool InCheck(SearchPosition& position);

// Material from the root side's view; the side to move plays no part.
inline int16_t Evaluate(const SearchPosition& position, int rootSide) {
  return static_cast<int16_t>(position.material * rootSide);
}

}  // namespace search_reference
