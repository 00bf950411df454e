// UCI move texts: from-square, to-square and an optional lower-case promotion letter.
#include "rules/rules.h"

namespace rules {

MoveText ToUci(Move move) {
  // Piece types and the notation's piece codes share their numbers, knight 2 to queen 5.
  return notation::WriteMoveText(FileOf(move.From()) + 1, RankOf(move.From()) + 1, FileOf(move.To()) + 1,
                                 RankOf(move.To()) + 1, move.Promotion());
}

std::optional<Move> ParseUciMove(const Position& position, std::string_view text) {
  if (text.size() != 4 && text.size() != 5) return std::nullopt;
  MoveList moves;
  GenerateLegalMoves(position, moves);
  for (Move move : moves) {
    if (ToUci(move).view() == text) return move;
  }
  return std::nullopt;
}

}  // namespace rules
