#pragma once
// The mate solver: the first move of a shortest forced mate, or nothing. This is the
// typed front door; solve_mate.h holds the C call the engine makes.
#include <cstdint>
#include <optional>
#include <string_view>

#include "rules/rules.h"

namespace matesolver {

// Mate lengths above this are not searched: the node budget could not finish them.
constexpr int kMaxMateMoves = 5;
// Every call stops after this many nodes and then reports no mate. No position of
// real play or of the puzzle sets comes near it.
constexpr std::uint64_t kNodeBudget = 1'000'000;

// The first move of a shortest forced mate in at most `maxMoves` moves of the side to
// move (more than kMaxMateMoves count as that many), for a FEN text as the engine hands
// it over. Nothing when there is no such mate, and for a text that gives no position the
// solver can play: unreadable, a side without exactly one king, the side not to move in check.
std::optional<rules::Move> FindMateMove(std::string_view fen, int maxMoves);

// The FEN texts the engine hands over are checked only field by field, so a few harmless
// liberties reach the solver. This reads them as the position they mean: like
// rules::Position::FromFen, but it also accepts up to two blanks after the last field, up
// to two slashes after the eighth rank, repeated castling letters, an en-passant square on
// the wrong side's rank (no capture can use it) and move counters of any length (a mate
// does not depend on them).
std::optional<rules::Position> ReadEngineFen(std::string_view text);

struct MateResult {
  rules::Move move;           // IsNone() when no mate was found
  int mateIn = 0;             // moves of the mating side, 0 when none
  std::uint64_t nodes = 0;    // positions visited
  bool budgetExhausted = false;
};

// Searches mates of 1, 2, ... up to `maxMoves` moves and returns the first move of a
// shortest one; which of several such moves depends on the position only. The position
// must be one FromFen accepted with the side not to move out of check.
MateResult FindMate(const rules::Position& position, int maxMoves, std::uint64_t nodeBudget = kNodeBudget);

}  // namespace matesolver
