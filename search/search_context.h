#pragma once
#include <cstdint>
#include <string_view>

#include "search/search_position.h"

namespace search {

// Everything one BestMove call works on; nothing of it outlives the call.
struct SearchContext {
  int8_t minDepth;
  int8_t maxDepth;
  SearchPosition root;
  SearchPosition startPosition;  // always the standard start position
  MoveEntry candidates[kMaxMoves];
  int8_t candidateCount;
  // Moves tried by Search over the whole tree, leaf moves included: the
  // figure the bench prints and the signature its test keeps.
  uint64_t movesTried;
};

void InitSearchContext(SearchContext& context);
void LoadSearchContext(SearchContext& context, std::string_view fen);

}  // namespace search
