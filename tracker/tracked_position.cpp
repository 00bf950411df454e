#include "tracker/tracked_position.h"

namespace tracker {

void PositionFromFen(TrackedPosition&, std::string_view) {}
void PlayMoveText(TrackedPosition&, std::string_view, int32_t) {}
std::string PositionToFen(const TrackedPosition&) {
  return "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
}

}  // namespace tracker
