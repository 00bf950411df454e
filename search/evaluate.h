#pragma once
#include <cstdint>

#include "search/search_position.h"

namespace search {

// Material from the root side's view; the side to move plays no part.
inline int16_t Evaluate(const SearchPosition& position, int rootSide) {
  return static_cast<int16_t>(position.material * rootSide);
}

}  // namespace search
