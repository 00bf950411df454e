#pragma once
#include <cstdint>
#include <string>

#include "search/search_context.h"

namespace search {

// True when `square` holds in `position` exactly what the start position holds there.
bool SameAsStart(const SearchContext& context, const SearchPosition& position, int square);

// True when making `move` on a copy of `root` leaves the mover's king unattacked.
bool RootMoveSafe(const SearchPosition& root, const MoveEntry& move);

// The tie-break score of one candidate move of the root.
int16_t TieBreakScore(const SearchContext& context, const MoveEntry& move);

// Gathers the candidates among the root moves scored by Search (the safe
// moves with the best safe score, or, when no move is safe, every move with
// `best`), scores them and returns the chosen candidate's number (from 1).
int ChooseRootMove(SearchContext& context, int16_t best);

struct RootChoice {
  MoveEntry move;          // squares 0 when the root has no move at all
  bool promotes = false;   // a pawn reaches the last rank (and becomes a queen)
};

// Searches the root, chooses, plays the choice on `root` and classifies it:
// 0 quiet, 1 check, 2 no safe move and not in check, 3 no safe move in check.
std::string SearchRoot(SearchContext& context, int8_t& resultCode, RootChoice& chosen);

}  // namespace search
