// UCI move texts: from-square, to-square and an optional lower-case promotion letter.
#include "rules/rules.h"

namespace rules {

MoveText ToUci(Move move) {
  MoveText text;
  text.chars[0] = static_cast<char>('a' + FileOf(move.From()));
  text.chars[1] = static_cast<char>('1' + RankOf(move.From()));
  text.chars[2] = static_cast<char>('a' + FileOf(move.To()));
  text.chars[3] = static_cast<char>('1' + RankOf(move.To()));
  constexpr char kPromotionLetters[] = "??nbrq";
  const PieceType promotion = move.Promotion();
  if (promotion >= kKnight && promotion <= kQueen) text.chars[4] = kPromotionLetters[promotion];
  return text;
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
