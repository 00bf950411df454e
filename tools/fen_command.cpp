#include <cstdio>
#include <string>
#include <string_view>

#include "notation/notation.h"
#include "tools/commands.h"
#include "tracker/tracked_position.h"

int RunFen(ToolArgs args) {
  if (args.empty()) {
    std::fprintf(stderr, "usage: brindlet-tool fen startpos|\"FEN\" [MOVE ...]\n");
    return 2;
  }
  // A move that the tracker would skip is refused here, so that an unquoted
  // FEN's second word does not pass silently as a move.
  for (std::size_t index = 1; index < args.size(); ++index) {
    if (!notation::BeginsWithMoveSquares(args[index])) {
      std::fprintf(stderr, "brindlet-tool fen: '%s' is not a move text (e2e4, a7a8n); quote the FEN\n",
                   args[index]);
      return 2;
    }
  }
  const std::string_view start = args[0];
  tracker::TrackedPosition position;
  tracker::PositionFromFen(position, start == "startpos" ? notation::kStartFen : start);
  // The engine's own default when a move text does not name its piece.
  for (std::size_t index = 1; index < args.size(); ++index) {
    tracker::PlayMoveText(position, args[index], notation::kQueenCode);
  }
  const std::string fen = tracker::PositionToFen(position);
  std::printf("%s\n", fen.c_str());
  return 0;
}
