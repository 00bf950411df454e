#pragma once
#include "search/search_position.h"

namespace search {

// Clears the castlePathSafe flags that a landing on `file` of a back rank spoils:
// the e-file both wings, f to h the king side, a to d the queen side.
void ClearWingsForFile(SearchPosition& position, int file);

// An enemy pawn's diagonal onto an empty square is no move, yet the king may
// not pass through it: the back-rank squares such pawns attack count as
// landings too.
void ClearWingsForPawnAttacks(SearchPosition& position, int side);

// The castlePathSafe flags of `side` that the opponent's moves and the pawn
// attacks above set, reached without writing the move list and without
// generating further once both of the side's wings are spoilt: what the
// search needs before its castling moves.
void ScanCastlePathsQuietly(SearchPosition& position, int side);

}  // namespace search
