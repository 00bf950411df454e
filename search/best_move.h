#pragma once
#include <string>
#include <string_view>

namespace search {

// The engine's own move for a FEN text that passed validation: a move text,
// or "a1a1" when the side to move has no safe move.
std::string BestMove(std::string_view fen);

}  // namespace search
