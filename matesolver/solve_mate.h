#pragma once
// The mate solver: the first move of a shortest forced mate, or nothing.
#include <cstdint>

#include "rules/rules.h"

extern "C" {
// First move of a shortest forced mate in at most `moves` moves of the side to move
// (mode 1), as a zero-terminated UCI move text valid until the next call: four
// characters, or five for a mating promotion. "" when there is no such mate, for any
// other mode, and for a FEN that cannot be played (unreadable, a side without exactly
// one king, the side not to move in check).
const char* SolveMate(const char* fen, int32_t moves, int32_t mode);
}

namespace matesolver {

// Mate lengths above this are not searched: the node budget could not finish them.
constexpr int kMaxMateMoves = 5;
// Every call stops after this many nodes and then reports no mate. No position of
// real play or of the puzzle sets comes near it.
constexpr std::uint64_t kNodeBudget = 1'000'000;

struct MateResult {
  rules::Move move;           // IsNone() when no mate was found
  int mateIn = 0;             // moves of the mating side, 0 when none
  std::uint64_t nodes = 0;    // positions visited
  bool budgetExhausted = false;
};

// Searches mates of 1, 2, ... up to `maxMoves` moves and returns the first move of a
// shortest one; which of several such moves depends on the position only. The position must be one FromFen accepted
// with the side not to move out of check.
MateResult FindMate(const rules::Position& position, int maxMoves, std::uint64_t nodeBudget = kNodeBudget);

}  // namespace matesolver
