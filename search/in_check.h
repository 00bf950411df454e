#pragma once
#include "search/search_position.h"

namespace search {

// True when one of the opponent's generated moves (the first 80) lands on a
// king; leaves the opponent's moves in the list and the side to move as it was.
bool InCheck(SearchPosition& position);

// The same question over every enemy move, without the 80-move cap: the root
// choice must not miss an attacker that a long list would hide.
bool KingAttacked(const SearchPosition& position);

}  // namespace search
