// Arbitrary bytes as a FEN text, handed to every place that reads one: the front end's
// check, the tracker (and the move texts found in the same bytes played on it), the
// search's loader and move generation, and the rules core.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/commands.h"
#include "frontend/fen_validation.h"
#include "rules/rules.h"
#include "search/load_search_position.h"
#include "search/make_move.h"
#include "search/search_position.h"
#include "tests/search/reference/reference_moves.h"
#include "tracker/tracked_position.h"

namespace {

void CheckSearchLoader(std::string_view text) {
  search::SearchPosition position{};
  search::LoadSearchPosition(position, text);
  // The frame around the 64 squares is never written, whatever the text says.
  for (int square = -10; square < 110; ++square) {
    if (!search::IsRealSquare(square) && search::Square(position, square) != search::OffBoard) std::abort();
  }
  search_reference::GenerateAllMoves(position);
  for (int i = 0; i < position.moveCount; ++i) {
    search::SearchPosition child = position;
    search::MakeMove(child, position.moves[i].from, position.moves[i].to, search::kQueenValue);
    for (int square = -10; square < 110; ++square) {
      if (!search::IsRealSquare(square) && search::Square(child, square) != search::OffBoard) std::abort();
    }
  }
}

void CheckTracker(std::string_view text) {
  tracker::TrackedPosition position{};
  tracker::PositionFromFen(position, text);
  (void)tracker::PositionToFen(position);
  std::vector<std::string> moves;
  frontend::ExtractMoves(text, moves);
  for (const std::string& move : moves) tracker::PlayMoveText(position, move, 5);
  (void)tracker::PositionToFen(position);
}

void CheckRules(std::string_view text) {
  std::optional<rules::Position> position = rules::Position::FromFen(text);
  if (!position) return;
  rules::MoveList moves;
  rules::GenerateLegalMoves(*position, moves);
  (void)rules::Perft(*position, 2);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  (void)frontend::IsValidFEN(text);
  CheckTracker(text);
  CheckSearchLoader(text);
  CheckRules(text);
  return 0;
}
