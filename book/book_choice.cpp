#include "book/book_choice.h"

#include "book/book_move.h"

namespace book {

std::optional<rules::Move> LegalBookMove(const rules::Position& position, std::uint16_t field) {
  const notation::MoveText text = DecodeBookMove(field, position);
  if (text.empty()) return std::nullopt;
  return rules::ParseUciMove(position, text.view());
}

std::optional<rules::Move> ChooseBookMove(const BookFile& file, const rules::Position& position, std::uint64_t key) {
  std::optional<rules::Move> best;
  int bestWeight = -1;
  const auto [first, last] = file.FindKey(key);
  for (std::size_t index = first; index < last; ++index) {
    const BookEntry entry = file.Entry(index);
    if (entry.weight <= bestWeight) continue;  // a tie keeps the earlier entry
    const std::optional<rules::Move> move = LegalBookMove(position, entry.move);
    if (!move) continue;
    best = move;
    bestWeight = entry.weight;
  }
  return best;
}

}  // namespace book
