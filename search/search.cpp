#include "search/search.h"

#include <cstring>

#include "search/evaluate.h"
#include "search/make_move.h"
#include "search/move_generation.h"

namespace search {

int16_t Search(SearchContext& context, SearchPosition& node, int rootSide, int depth, int16_t bound) {
  GenerateAllMoves(node);
  const bool maximising = node.sideToMove == rootSide;
  int16_t best = static_cast<int16_t>(node.sideToMove * rootSide * -kWinScore);
  const bool leafQuiet = depth >= context.minDepth;
  const bool leafAll = depth == context.maxDepth;
  SearchPosition child;  // the one copy this level keeps while a move is searched
  const int count = node.moveCount;
  for (int i = 0; i < count; ++i) {
    MoveEntry& move = node.moves[i];
    ++context.movesTried;
    int16_t score;
    if (leafAll || (leafQuiet && Square(node, move.to) == 0)) {
      // A leaf's score is the balance after the move; making it on a copy
      // would change nothing else that is read.
      score = static_cast<int16_t>(MaterialAfterMove(node, move.from, move.to) * rootSide);
    } else {
      CopyPositionState(child, node);
      MakeMove(child, move.from, move.to, kQueen);
      score = Search(context, child, rootSide, depth + 1, best);
    }
    move.score = score;
    if (maximising) {
      if (score > best) best = score;
      if (best > bound) break;
    } else {
      if (score < best) best = score;
      if (best < bound) break;
    }
  }
  return best;
}

}  // namespace search
