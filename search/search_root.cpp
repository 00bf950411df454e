#include <cstdlib>

#include "search/king_attacked.h"
#include "search/make_move.h"
#include "search/move_text.h"
#include "search/root_choice.h"
#include "search/search.h"

namespace search {

std::string SearchRoot(SearchContext& context, int8_t& resultCode, RootChoice& chosen) {
  SearchPosition& root = context.root;
  const int mover = root.sideToMove;
  const int16_t best = Search(context, root, mover, 1, kWinScore);
  chosen = RootChoice{};
  if (root.moveCount == 0) {
    // Not one generated move: nothing to play, and the empty slot stays untouched.
    resultCode = KingAttacked(root) ? 3 : 2;
    return "a1a1";
  }
  const int k = ChooseRootMove(context, best);
  const MoveEntry move = context.candidates[k - 1];
  chosen.move = move;
  const int rank = move.to % 10;
  chosen.promotes = std::abs(Square(root, move.from)) == kPawnValue && (rank == 1 || rank == 8);
  const bool wasInCheck = KingAttacked(root);
  MakeMove(root, move.from, move.to, kQueenValue);
  std::string text = MoveToText(move.from, move.to);
  root.sideToMove = static_cast<int8_t>(mover);
  if (KingAttacked(root)) {
    resultCode = wasInCheck ? 3 : 2;
  } else {
    root.sideToMove = static_cast<int8_t>(-mover);
    resultCode = KingAttacked(root) ? 1 : 0;
  }
  return text;
}

}  // namespace search
