#pragma once
// A plain mate search written only to check the solver: every legal move at every
// node, no ordering, no tables, no check filter. It stops only where the answer is
// already settled (a mating move found, a defence found). Slow and obviously right.
#include <string>
#include <vector>

#include "rules/rules.h"
#include "tests/support/engine_process.h"

namespace matesolver_test {

bool DefenderIsMated(rules::Position& position, int moves);

// The side to move can force mate within `moves` of its moves.
inline bool AttackerForcesMate(rules::Position& position, int moves) {
  if (moves <= 0) return false;
  rules::MoveList list;
  rules::GenerateLegalMoves(position, list);
  for (rules::Move move : list) {
    rules::UndoInfo undo;
    position.MakeMove(move, undo);
    const bool mates = DefenderIsMated(position, moves);
    position.UnmakeMove(move, undo);
    if (mates) return true;
  }
  return false;
}

// The side to move is checkmated now, or whatever it plays the opponent forces mate
// within `moves` - 1 more moves.
inline bool DefenderIsMated(rules::Position& position, int moves) {
  rules::MoveList list;
  rules::GenerateLegalMoves(position, list);
  if (list.Empty()) return position.InCheck();
  for (rules::Move move : list) {
    rules::UndoInfo undo;
    position.MakeMove(move, undo);
    const bool mated = AttackerForcesMate(position, moves - 1);
    position.UnmakeMove(move, undo);
    if (!mated) return false;
  }
  return true;
}

// The solver's answer `text` is the first move of a mate in exactly `mateIn` moves:
// it forces mate that fast, and no mate is any faster.
inline std::string CheckShortestMate(const rules::Position& start, const std::string& text, int mateIn) {
  rules::Position position = start;
  const auto move = rules::ParseUciMove(position, text);
  if (!move) return "'" + text + "' is not a legal move";
  if (mateIn > 1 && AttackerForcesMate(position, mateIn - 1)) return "a shorter mate than " + std::to_string(mateIn) + " exists";
  rules::UndoInfo undo;
  position.MakeMove(*move, undo);
  if (!DefenderIsMated(position, mateIn)) return text + " does not force mate in " + std::to_string(mateIn);
  return "";
}

inline std::vector<std::string> ReadFens(const std::string& file) {
  std::vector<std::string> fens;
  for (const std::string& line : test_support::ReadLines(std::string(BRINDLET_TEST_DATA) + "/matesolver/" + file)) {
    if (!line.empty()) fens.push_back(line);
  }
  return fens;
}

}  // namespace matesolver_test
