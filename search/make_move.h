#pragma once
#include <cstdint>

#include "search/search_position.h"

namespace search {

// Plays from -> to for the side to move in place (no unmake: callers copy
// first). A pawn reaching rank 1 or 8 becomes `promotion` (a positive value).
void MakeMove(SearchPosition& position, int from, int to, int promotion);

// The `material` MakeMove(position, from, to, 19) would leave, without
// making the move: what a leaf of the search needs.
int16_t MaterialAfterMove(const SearchPosition& position, int from, int to);

}  // namespace search
