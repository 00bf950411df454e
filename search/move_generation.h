#pragma once
#include "search/search_position.h"

namespace search {

// Appends from -> to unless the list is full or, once a king has been
// captured on this line, the target holds a king.
void AddMove(SearchPosition& position, int from, int to);
// The pseudo-legal moves of the side to move, castling left out.
void GenerateMoves(SearchPosition& position);
// Sets castlePathSafe from every opponent move onto `side`'s back rank and the
// back-rank squares enemy pawns attack; leaves the opponent's first 80 moves in the list.
void ScanCastlePaths(SearchPosition& position, int side);
// Appends the castling move of `wing` (0..3: K, Q, k, q) when the squares
// between king and rook are empty.
void AddCastling(SearchPosition& position, int wing);
// Where the king of `wing` would castle to (e1g1's 71, ...), or 0 when a square
// between king and rook is taken. The king's square is 51 for wings 0 and 1, else 58.
int CastlingTarget(const SearchPosition& position, int wing);
// The search's generator: castle scan, ordinary moves, then castling.
void GenerateAllMoves(SearchPosition& position);

}  // namespace search
