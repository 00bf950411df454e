#include <cstdlib>
#include <cstring>

#include "search/make_move.h"
#include "search/move_generation.h"
#include "search/root_choice.h"

namespace search {
namespace {

// Adds with the 16-bit truncation the score is held in.
void Add(int16_t& h, int amount) { h = static_cast<int16_t>(h + amount); }

// +1 per move, +1 more per move onto an occupied square.
int Mobility(SearchPosition& position) {
  GenerateMoves(position);
  int count = 0;
  for (int i = 0; i < position.moveCount; ++i) count += Square(position, position.moves[i].to) != 0 ? 2 : 1;
  return count;
}

}  // namespace

bool SameAsStart(const SearchContext& context, const SearchPosition& position, int square) {
  return Square(position, square) == Square(context.startPosition, square);
}

int16_t TieBreakScore(const SearchContext& context, const MoveEntry& move) {
  const SearchPosition& root = context.root;
  const int piece = std::abs(Square(root, move.from));
  int16_t h = 0;
  if (SameAsStart(context, root, move.from)) {
    Add(h, 5);
    if (piece == kPawnValue) Add(h, 2);
  }
  if (piece == kKingValue) Add(h, -10);
  if (root.ply < 32 && (piece == kPawnValue || piece == kBishopValue || piece == kKnightValue)) Add(h, 20);
  if (IsEdgeSquare(move.from)) Add(h, 2);
  if (IsEdgeSquare(move.to)) Add(h, -2);

  SearchPosition copy;
  CopyPositionState(copy, root);
  MakeMove(copy, move.from, move.to, kQueenValue);
  if (SameAsStart(context, copy, move.to)) Add(h, -10);
  copy.sideToMove = static_cast<int8_t>(-copy.sideToMove);
  Add(h, Mobility(copy));
  copy.sideToMove = static_cast<int8_t>(-copy.sideToMove);
  Add(h, -Mobility(copy));
  return h;
}

}  // namespace search
