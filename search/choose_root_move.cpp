#include <cstring>

#include "search/king_attacked.h"
#include "search/make_move.h"
#include "search/root_choice.h"

namespace search {

bool RootMoveSafe(const SearchPosition& root, const MoveEntry& move) {
  SearchPosition copy;
  CopyPositionState(copy, root);
  MakeMove(copy, move.from, move.to, kQueenValue);
  copy.sideToMove = root.sideToMove;
  return !KingAttacked(copy);
}

int ChooseRootMove(SearchContext& context, int16_t best) {
  const SearchPosition& root = context.root;
  // A move that leaves the king attacked never wins the tie-break while a safe
  // one exists, whatever the search scored it (every move at -32000, or an
  // attacker hidden beyond the 80th reply).
  bool safe[kMaxMoves] = {};
  bool anySafe = false;
  int16_t bestSafe = 0;
  for (int i = 0; i < root.moveCount; ++i) {
    safe[i] = RootMoveSafe(root, root.moves[i]);
    if (safe[i] && (!anySafe || root.moves[i].score > bestSafe)) bestSafe = root.moves[i].score;
    anySafe |= safe[i];
  }

  context.candidateCount = 0;
  for (int i = 0; i < root.moveCount; ++i) {
    const MoveEntry& move = root.moves[i];
    const bool candidate = anySafe ? safe[i] && move.score == bestSafe : move.score == best;
    if (!candidate) continue;
    MoveEntry& entry = context.candidates[context.candidateCount++];
    entry.from = move.from;
    entry.to = move.to;
    entry.score = 0;
  }
  for (int k = 0; k < context.candidateCount; ++k) {
    context.candidates[k].score = TieBreakScore(context, context.candidates[k]);
  }

  // Ties go to the later candidate; when every score is negative the first stays.
  int chosen = 1;
  int16_t highest = 0;
  for (int k = 0; k < context.candidateCount; ++k) {
    if (context.candidates[k].score >= highest) {
      chosen = k + 1;
      highest = context.candidates[k].score;
    }
  }
  return chosen;
}

}  // namespace search
