#include "search/search_context.h"

#include <cstring>
#include <string>

#include "search/load_search_position.h"

namespace search {

void InitSearchContext(SearchContext& context) {
  std::memset(&context, 0, sizeof context);
  context.minDepth = 3;
  context.maxDepth = 5;
}

void LoadSearchContext(SearchContext& context, std::string_view fen) {
  LoadSearchPosition(context.startPosition, "");
  const std::string privateCopy(fen);
  LoadSearchPosition(context.root, privateCopy);
}

}  // namespace search
