#include "search/search.h"

#include "search/castle_scan.h"
#include "search/make_move.h"
#include "search/move_generation.h"
#include "search/pseudo_moves.h"

namespace search {
namespace {

// One node of the search. Moves are tried as the generator finds them, in the
// order of the node's whole list (ordinary moves, then castling), so a cut-off
// also ends the generation, and the castle scan (needed only for the castling
// moves at the end of the list) runs only when the loop gets that far.
class NodeSearch {
 public:
  NodeSearch(SearchContext& context, SearchPosition& node, int rootSide, int depth, int16_t bound)
      : context_(context),
        node_(node),
        rootSide_(rootSide),
        depth_(depth),
        bound_(bound),
        maximising_(node.sideToMove == rootSide),
        leafQuiet_(depth >= context.minDepth),
        leafAll_(depth == context.maxDepth),
        refuseKings_(node.kingCaptured != 0),
        keepList_(depth == 1),
        leafCaptures_(leafAll_ && !keepList_),
        best_(static_cast<int16_t>(node.sideToMove * rootSide * -kWinScore)) {}

  int16_t Run() {
    ForEachPseudoMove(node_, *this);
    if (!cutOff_ && count_ < kMaxMoves) TryCastling();
    node_.moveCount = static_cast<int8_t>(count_);
    // Every listed move was tried.
    context_.movesTried += static_cast<uint64_t>(node_.moveCount);
    return best_;
  }

  // The generator's hand-off, forced inline into each of its call sites; false
  // ends the generation.
  [[gnu::always_inline]] bool operator()(int from, int to, bool isPawnMove) {
    // Below the nominal depth every quiet move that neither promotes nor takes
    // en passant scores the same balance (castling comes later): once one has
    // been scored the others can neither raise the best nor cut off, so they
    // are only counted.
    const int target = Square(node_, to);
    if (target == 0) {
      if (plainQuietSeen_ && (!isPawnMove || IsPlainPawnStep(to))) return ++count_ < kMaxMoves;
    } else if (leafCaptures_ && !isPawnMove) {
      // At the last ply a capture by a piece (a king's included, which never
      // castles onto a piece) takes just what stands on `to`.
      if (refuseKings_ && (target == kKingValue || target == -kKingValue)) return true;  // never listed
      ++count_;
      Record(static_cast<int16_t>(static_cast<int16_t>(node_.material - target) * rootSide_));
      return !cutOff_ && count_ < kMaxMoves;
    }
    return Try(from, to);
  }

  // Once a plain quiet move has been scored, runs of quiet moves by pieces
  // other than pawns (never promotions, en passant or castling) are only counted.
  bool CountingQuiets() const { return plainQuietSeen_; }
  bool CountQuiets(int n) {
    count_ += n;
    if (count_ < kMaxMoves) return true;
    count_ = kMaxMoves;
    return false;
  }

 private:
  void TryCastling() {
    // The scan's flags matter only for a wing whose right stands and whose
    // squares between king and rook are empty.
    const int firstWing = node_.sideToMove == 1 ? kWhiteKingWing : kBlackKingWing;
    int targets[2] = {0, 0};
    for (int k = 0; k < 2; ++k)
      if (node_.castleRight[firstWing + k] != 0) targets[k] = CastlingTarget(node_, firstWing + k);
    if (targets[0] == 0 && targets[1] == 0) return;
    ScanCastlePathsQuietly(node_, node_.sideToMove);
    const int kingSquare = node_.sideToMove == 1 ? 51 : 58;
    for (int k = 0; k < 2; ++k) {
      if (targets[k] == 0 || node_.castlePathSafe[firstWing + k] == 0) continue;
      if (!Try(kingSquare, targets[k])) return;
    }
  }

  [[gnu::noinline]] bool Try(int from, int to) {
    const int8_t target = Square(node_, to);
    if (refuseKings_ && (target == kKingValue || target == -kKingValue)) return true;  // never listed
    const int index = count_++;
    int16_t score;
    if (leafAll_ || (leafQuiet_ && target == 0)) {
      // A leaf's score is the balance after the move; nothing else of the
      // made move would be read.
      score = static_cast<int16_t>(LeafMaterial(from, to) * rootSide_);
      if (target == 0 && leafQuiet_ && IsPlainQuiet(from, to)) plainQuietSeen_ = true;
    } else {
      SearchPosition child;  // the one copy this level keeps while a move is searched
      CopyPositionState(child, node_);
      MakeMove(child, from, to, kQueenValue);
      score = NodeSearch(context_, child, rootSide_, depth_ + 1, best_).Run();
    }
    // Only the root's list is read afterwards (by the root choice); deeper
    // nodes keep just the count, which the 80-move cap needs.
    if (keepList_) node_.moves[index] = MoveEntry{static_cast<int8_t>(from), static_cast<int8_t>(to), score};
    Record(score);
    return !cutOff_ && count_ < kMaxMoves;
  }

  void Record(int16_t score) {
    if (maximising_) {
      if (score > best_) best_ = score;
      cutOff_ = best_ > bound_;
    } else {
      if (score < best_) best_ = score;
      cutOff_ = best_ < bound_;
    }
  }

  // MaterialAfterMove with its common case inline: a piece that is neither a
  // pawn nor a castling king only takes what stands on `to`.
  int16_t LeafMaterial(int from, int to) const {
    const int piece = Square(node_, from);
    const bool pawn = piece == kPawnValue || piece == -kPawnValue;
    const bool king = piece == kKingValue || piece == -kKingValue;
    if (pawn || king) return MaterialAfterMove(node_, from, to);
    return static_cast<int16_t>(node_.material - Square(node_, to));
  }

  // A pawn's move onto an empty square that is neither the en-passant square
  // nor on the last rank: the balance stays as it is.
  bool IsPlainPawnStep(int to) const {
    const int rank = to % 10;
    return to != EpSlot(node_, -node_.sideToMove) && rank != 1 && rank != 8;
  }

  // Neither a promotion, nor en passant, nor castling: the balance stays as it is.
  bool IsPlainQuiet(int from, int to) const {
    const int piece = Square(node_, from);
    if (piece == kPawnValue || piece == -kPawnValue) return IsPlainPawnStep(to);
    return !((piece == kKingValue || piece == -kKingValue) && (to == from + 20 || to == from - 20));
  }

  SearchContext& context_;
  SearchPosition& node_;
  const int rootSide_;
  const int depth_;
  const int16_t bound_;
  const bool maximising_;
  const bool leafQuiet_;
  const bool leafAll_;
  const bool refuseKings_;
  const bool keepList_;
  const bool leafCaptures_;  // captures scored in the generator's hand-off
  int16_t best_;
  // The node's move count while it generates, kept apart from the board's
  // bytes (which byte stores could otherwise alias) and written back at the end.
  int count_ = 0;
  bool cutOff_ = false;
  bool plainQuietSeen_ = false;
};

}  // namespace

int16_t Search(SearchContext& context, SearchPosition& node, int rootSide, int depth, int16_t bound) {
  return NodeSearch(context, node, rootSide, depth, bound).Run();
}

}  // namespace search
