// Proving mate, or its absence, in a few moves. The mating side's moves are OR nodes,
// the defender's AND nodes. No mate can end without a check, so the last move is
// tried among checks only; a defence that refuted once is tried first in its
// siblings' subtrees too; proved results are kept by position key.
#include "matesolver/mate_search.h"

namespace matesolver {
namespace {

using rules::Move;
using rules::MoveList;
using rules::UndoInfo;

constexpr int kPieceValue[] = {0, 1, 3, 3, 5, 9, 0};

// Checks first (they leave the defender least choice), then captures of big pieces,
// then promotions; a move that mated here before goes ahead of all.
void OrderAttackerMoves(const rules::Position& position, MoveList& moves, Move first) {
  const rules::CheckInfo checks = position.ComputeCheckInfo();
  std::array<int, MoveList::kCapacity> scores;
  for (int i = 0; i < moves.Size(); ++i) {
    const Move move = moves[i];
    int score = 10 * kPieceValue[rules::TypeOf(position.PieceOn(move.To()))] + kPieceValue[move.Promotion()];
    if (position.GivesCheck(move, checks)) score += 1000;
    if (move == first) score += 100000;
    scores[i] = score;
  }
  // Insertion sort keeps generation order among equals, so the answer never depends
  // on anything but the position.
  for (int i = 1; i < moves.Size(); ++i) {
    const Move move = moves[i];
    const int score = scores[i];
    int j = i;
    for (; j > 0 && scores[j - 1] < score; --j) {
      moves.Set(j, moves[j - 1]);
      scores[j] = scores[j - 1];
    }
    moves.Set(j, move);
    scores[j] = score;
  }
}

}  // namespace

bool MateSearch::CountNode() {
  if (++nodes_ > nodeBudget_) exhausted_ = true;
  return !exhausted_;
}

void MateSearch::RememberRefutation(int ply, Move move) {
  auto& slots = refutations_[ply];
  if (slots[0] == move) return;
  slots[1] = slots[0];
  slots[0] = move;
}

bool MateSearch::MatesInOne(Move* mateMove) {
  MoveList checks;
  rules::GenerateChecks(position_, position_.ComputeCheckInfo(), checks);
  UndoInfo undo;
  for (Move move : checks) {
    if (!CountNode()) return false;
    position_.MakeMove(move, undo);
    const bool mate = !rules::HasLegalMove(position_);
    position_.UnmakeMove(move, undo);
    if (mate) {
      if (mateMove != nullptr) *mateMove = move;
      return true;
    }
  }
  return false;
}

bool MateSearch::AttackerMates(int moves, int ply, Move* mateMove) {
  if (moves <= 1) return MatesInOne(mateMove);

  const std::uint64_t key = position_.Key();
  Move hint{};
  if (const TableEntry* entry = table_.Find(key)) {
    if (entry->mateIn > 0 && entry->mateIn <= moves) {
      if (mateMove != nullptr) *mateMove = Move::FromBits(entry->mateMove);
      return true;
    }
    if (entry->noMateUpTo >= moves) return false;
    hint = Move::FromBits(entry->mateMove);
  }

  MoveList list;
  rules::GenerateLegalMoves(position_, list);
  OrderAttackerMoves(position_, list, hint);
  UndoInfo undo;
  for (Move move : list) {
    if (!CountNode()) return false;
    position_.MakeMove(move, undo);
    const bool mates = DefenderLoses(moves, ply + 1);
    position_.UnmakeMove(move, undo);
    if (exhausted_) return false;
    if (mates) {
      table_.StoreMate(key, moves, move);
      if (mateMove != nullptr) *mateMove = move;
      return true;
    }
  }
  table_.StoreNoMate(key, moves);
  return false;
}

bool MateSearch::DefenderLoses(int moves, int ply) {
  // A defence that refuted in a sibling usually refutes here too, and trying it
  // costs no full move generation.
  const std::array<Move, 2> remembered = refutations_[ply];
  if (moves > 1) {
    for (Move defence : remembered) {
      if (defence.IsNone() || !rules::IsLegalMove(position_, defence)) continue;
      if (!Refutes(defence, moves, ply)) continue;
      RememberRefutation(ply, defence);
      return false;
    }
  }

  MoveList list;
  rules::GenerateLegalMoves(position_, list);
  if (list.Empty()) return position_.InCheck();
  if (moves <= 1) return false;

  for (Move defence : list) {
    if (defence == remembered[0] || defence == remembered[1]) continue;  // tried above, in vain
    if (Refutes(defence, moves, ply)) {
      RememberRefutation(ply, defence);
      return false;
    }
  }
  return true;
}

bool MateSearch::Refutes(Move defence, int moves, int ply) {
  if (!CountNode()) return true;
  UndoInfo undo;
  position_.MakeMove(defence, undo);
  const bool mated = AttackerMates(moves - 1, ply + 1, nullptr);
  position_.UnmakeMove(defence, undo);
  return !mated || exhausted_;
}

}  // namespace matesolver
