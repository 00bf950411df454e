#pragma once
// The search exactly as its rules read, with no shortcut: generate the whole
// list (castle scan first), copy the whole record for every move, make it,
// evaluate or recurse. The engine's search must agree with it move for move.
#include <cstdint>

#include "search/make_move.h"
#include "search/search_context.h"
#include "tests/search/reference/reference_moves.h"

namespace search_test {

inline int16_t LiteralSearch(search::SearchContext& context, search::SearchPosition& node, int rootSide, int depth,
                             int16_t bound) {
  search_reference::GenerateAllMoves(node);
  int16_t best = static_cast<int16_t>(node.sideToMove * rootSide * -32000);
  bool cutOff = false;
  for (int i = 0; i < node.moveCount && !cutOff; ++i) {
    ++context.movesTried;
    search::SearchPosition copy = node;
    search::MakeMove(copy, node.moves[i].from, node.moves[i].to, 19);
    int16_t score;
    if ((depth >= context.minDepth && search::Square(node, node.moves[i].to) == 0) || depth == context.maxDepth)
      score = search_reference::Evaluate(copy, rootSide);
    else
      score = LiteralSearch(context, copy, rootSide, depth + 1, best);
    if (node.sideToMove == rootSide) {
      if (score > best) best = score;
      cutOff = best > bound;
    } else {
      if (score < best) best = score;
      cutOff = best < bound;
    }
    node.moves[i].score = score;
  }
  return best;
}

}  // namespace search_test
