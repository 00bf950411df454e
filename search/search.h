#pragma once
#include <cstdint>

#include "search/search_context.h"

namespace search {

inline constexpr int16_t kWinScore = 32000;

// Minimax with one bound from the parent: three plies, captures extended to
// five. Writes every searched move's score into the node's list and returns
// the node's value from the root side's view.
int16_t Search(SearchContext& context, SearchPosition& node, int rootSide, int depth, int16_t bound);

}  // namespace search
