#include <cstdio>
#include <string>
#include <string_view>

#include "tools/commands.h"
#include "tracker/tracked_position.h"

namespace {

constexpr std::string_view kStartPosition = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
// The engine's own default when a move text does not name its piece.
constexpr int32_t kQueenPromotion = 5;

bool BeginsWithCoordinates(std::string_view text) {
  const auto file = [](char c) { return c >= 'a' && c <= 'h'; };
  const auto rank = [](char c) { return c >= '1' && c <= '8'; };
  return text.size() >= 4 && file(text[0]) && rank(text[1]) && file(text[2]) && rank(text[3]);
}

}  // namespace

int RunFen(ToolArgs args) {
  if (args.empty()) {
    std::fprintf(stderr, "usage: brindlet-tool fen startpos|\"FEN\" [MOVE ...]\n");
    return 2;
  }
  // A move that the tracker would skip is refused here, so that an unquoted
  // FEN's second word does not pass silently as a move.
  for (std::size_t index = 1; index < args.size(); ++index) {
    if (!BeginsWithCoordinates(args[index])) {
      std::fprintf(stderr, "brindlet-tool fen: '%s' is not a move text (e2e4, a7a8n); quote the FEN\n",
                   args[index]);
      return 2;
    }
  }
  const std::string_view start = args[0];
  tracker::TrackedPosition position;
  tracker::PositionFromFen(position, start == "startpos" ? kStartPosition : start);
  for (std::size_t index = 1; index < args.size(); ++index) {
    tracker::PlayMoveText(position, args[index], kQueenPromotion);
  }
  const std::string fen = tracker::PositionToFen(position);
  std::printf("%s\n", fen.c_str());
  return 0;
}
