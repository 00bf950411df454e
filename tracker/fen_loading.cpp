#include "notation/notation.h"
#include "tracker/saturating_clock.h"
#include "tracker/tracked_position.h"

namespace tracker {

// The board is not cleared first: squares the placement never reaches keep their codes.
// An en-passant field of two characters is kept unchecked, so an unusual field comes back
// unchanged when the record is written out.
void PositionFromFen(TrackedPosition& position, std::string_view fen) {
  const notation::SixFields fields = notation::SplitAtFiveBlanks(fen);
  notation::WalkPlacement(fields[0], [&](int32_t file, int32_t rank, int32_t code) {
    position.board[file - 1][rank - 1] = code;
  });
  position.sideToMove = fields[1] == "w" ? 1 : -1;
  for (std::size_t flag = 0; flag < 4; ++flag) {
    position.castling[flag] = fields[2].find(notation::kCastlingLetters[flag]) != std::string_view::npos ? 1 : 0;
  }
  const std::optional<notation::SquareCoordinates> enPassant = notation::ReadSquareUnchecked(fields[3]);
  position.enPassant = enPassant ? BoardSquare{enPassant->file, enPassant->rank} : BoardSquare{};
  position.halfmoveClock = ReadClockNumber(fields[4]);
  position.fullmoveNumber = ReadClockNumber(fields[5]);
}

}  // namespace tracker
