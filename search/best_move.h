#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace search {

// The engine's own move for a FEN text that passed validation: a move text
// (with "q" when a pawn reaches the last rank), or "a1a1" when the side to
// move has no safe move.
std::string BestMove(std::string_view fen);

// What one BestMove call saw, for the tool and the tests.
struct RootMoveReport {
  std::string move;                 // four characters, generation order
  int16_t score = 0;                // the search's score from the mover's view
  std::optional<int16_t> tieBreak;  // set for the candidates of the root choice
};

struct BestMoveReport {
  std::string bestMove;     // exactly what BestMove returns
  int resultCode = 0;       // 0 quiet, 1 check, 2 stalemate, 3 checkmate
  uint64_t movesTried = 0;  // moves the search tried, leaf moves included
  std::vector<RootMoveReport> rootMoves;
};

BestMoveReport AnalyseBestMove(std::string_view fen);

}  // namespace search
