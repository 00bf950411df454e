#pragma once
#include "search/search_position.h"

namespace search {

// Appends from -> to unless the list is full or, once a king has been
// captured on this line, the target holds a king.
void AddMove(SearchPosition& position, int from, int to);
// The pseudo-legal moves of the side to move, castling left out.
void GenerateMoves(SearchPosition& position);
// Where the king of `wing` would castle to (e1g1's 71, ...), or 0 when a square
// between king and rook is taken. The king's square is 51 for wings 0 and 1, else 58.
int CastlingTarget(const SearchPosition& position, int wing);

}  // namespace search
