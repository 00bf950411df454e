#pragma once
// The proof search behind FindMate: AND/OR search over the legal move tree.
#include <array>
#include <cstdint>

#include "matesolver/mate_solver.h"
#include "matesolver/transposition_table.h"
#include "rules/rules.h"

namespace matesolver {

class MateSearch {
 public:
  MateSearch(rules::Position& position, TranspositionTable& table, std::uint64_t nodeBudget)
      : position_(position), table_(table), nodeBudget_(nodeBudget) {}

  // The side to move mates in at most `moves` moves; `mateMove` gets the first move.
  bool AttackerMates(int moves, int ply, rules::Move* mateMove);

  std::uint64_t Nodes() const { return nodes_; }
  bool BudgetExhausted() const { return exhausted_; }

 private:
  static constexpr int kMaxPly = 2 * kMaxMateMoves + 2;

  bool MatesInOne(rules::Move* mateMove);
  // The defender, to move, is mated within the `moves` - 1 attacker moves still left.
  bool DefenderLoses(int moves, int ply);
  // The defender escapes the mate with `defence` (false also when the budget ran out).
  bool Refutes(rules::Move defence, int moves, int ply);
  bool CountNode();
  void RememberRefutation(int ply, rules::Move move);

  rules::Position& position_;
  TranspositionTable& table_;
  std::uint64_t nodeBudget_;
  std::uint64_t nodes_ = 0;
  bool exhausted_ = false;
  // Per ply, the two defences that refuted most recently.
  std::array<std::array<rules::Move, 2>, kMaxPly + 1> refutations_{};
};

}  // namespace matesolver
