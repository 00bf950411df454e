#pragma once
#include <string_view>

#include "search/search_position.h"

namespace search {

// Fills an all-zero position from a FEN text; the empty text gives the
// standard start position. Never writes outside the 64 squares, whatever the text.
void LoadSearchPosition(SearchPosition& position, std::string_view fen);

}  // namespace search
