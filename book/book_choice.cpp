#include "book/book_choice.h"

#include "book/polyglot_key.h"

namespace book {

std::optional<LookupPosition> PrepareLookup(std::string_view fen) {
  const std::optional<BookPosition> board = ParseBookPosition(fen);
  if (!board) return std::nullopt;
  std::optional<rules::Position> rulesPosition = rules::Position::FromFen(fen);
  if (!rulesPosition) return std::nullopt;
  return LookupPosition{*board, *rulesPosition, PolyglotKey(*board)};
}

bool IsLegalBookMove(const LookupPosition& position, const DecodedMove& move) {
  return !move.empty() && rules::ParseUciMove(position.rules, move.text.data()).has_value();
}

DecodedMove ChooseBookMove(const BookFile& file, const LookupPosition& position) {
  DecodedMove best;
  int bestWeight = -1;
  const auto [first, last] = file.FindKey(position.key);
  for (std::size_t index = first; index < last; ++index) {
    const BookEntry entry = file.Entry(index);
    if (entry.weight <= bestWeight) continue;  // a tie keeps the earlier entry
    const DecodedMove move = DecodeBookMove(entry.move, position.board);
    if (!IsLegalBookMove(position, move)) continue;
    best = move;
    bestWeight = entry.weight;
  }
  return best;
}

}  // namespace book
