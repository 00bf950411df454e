#include "search/search.h"

#include <cstdlib>

#include "search/castle_scan.h"
#include "search/make_move.h"
#include "search/move_generation.h"
#include "search/pseudo_moves.h"

namespace search {
namespace {

// MaterialAfterMove with its common case inline: no en passant, no castling.
inline int16_t LeafMaterial(const SearchPosition& node, int from, int to) {
  const int8_t* const b = node.board + kBoardOffset;
  const int s = node.sideToMove;
  const int piece = b[from];
  if (to == EpSlot(node, -s) || ((piece == kKing || piece == -kKing) && (to == from + 20 || to == from - 20)))
    return MaterialAfterMove(node, from, to);
  int material = node.material - b[to];
  const int rank = to % 10;
  if ((piece == kPawn || piece == -kPawn) && (rank == 1 || rank == 8)) material += (kQueen - kPawn) * s;
  return static_cast<int16_t>(material);
}

}  // namespace

// Moves are tried as the generator finds them, in the order GenerateAllMoves
// would list them, and the list is filled on the way. A cut-off therefore also
// ends the generation, and the castle scan (needed only for the castling moves
// at the end of the list) runs only when the loop gets that far.
int16_t Search(SearchContext& context, SearchPosition& node, int rootSide, int depth, int16_t bound) {
  const bool maximising = node.sideToMove == rootSide;
  int16_t best = static_cast<int16_t>(node.sideToMove * rootSide * -kWinScore);
  const bool leafQuiet = depth >= context.minDepth;
  const bool leafAll = depth == context.maxDepth;
  const bool refuseKings = node.kingCaptured != 0;
  SearchPosition child;  // the one copy this level keeps while a move is searched
  bool cutOff = false;
  node.moveCount = 0;

  auto tryMove = [&](int from, int to) {
    const int8_t target = Square(node, to);
    if (refuseKings && (target == kKing || target == -kKing)) return true;  // never listed
    MoveEntry& move = node.moves[node.moveCount++];
    move.from = static_cast<int8_t>(from);
    move.to = static_cast<int8_t>(to);
    ++context.movesTried;
    int16_t score;
    if (leafAll || (leafQuiet && target == 0)) {
      // A leaf's score is the balance after the move; nothing else of the
      // made move would be read.
      score = static_cast<int16_t>(LeafMaterial(node, from, to) * rootSide);
    } else {
      CopyPositionState(child, node);
      MakeMove(child, from, to, kQueen);
      score = Search(context, child, rootSide, depth + 1, best);
    }
    move.score = score;
    if (maximising) {
      if (score > best) best = score;
      cutOff = best > bound;
    } else {
      if (score < best) best = score;
      cutOff = best < bound;
    }
    return !cutOff && node.moveCount < kMaxMoves;
  };

  ForEachPseudoMove(node, tryMove);
  if (cutOff || node.moveCount >= kMaxMoves) return best;
  // Castling comes last. The scan's flags matter only for a wing whose right
  // stands and whose squares between king and rook are empty.
  const int firstWing = node.sideToMove == 1 ? kWingK : kWingk;
  int targets[2] = {0, 0};
  for (int k = 0; k < 2; ++k)
    if (node.castleRight[firstWing + k] != 0) targets[k] = CastlingTarget(node, firstWing + k);
  if (targets[0] == 0 && targets[1] == 0) return best;
  ScanCastlePathsQuietly(node, node.sideToMove);
  const int kingSquare = node.sideToMove == 1 ? 51 : 58;
  for (int k = 0; k < 2; ++k) {
    if (targets[k] == 0 || node.castlePathSafe[firstWing + k] == 0) continue;
    if (!tryMove(kingSquare, targets[k])) break;
  }
  return best;
}

}  // namespace search
