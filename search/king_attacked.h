#pragma once
#include "search/search_position.h"

namespace search {

// True when one of the opponent's moves lands on a king. Every enemy move is
// looked at, without the 80-move cap of a list: the root choice must not miss
// an attacker that a long list would hide.
bool KingAttacked(const SearchPosition& position);

}  // namespace search
