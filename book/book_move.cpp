#include "book/book_move.h"

namespace book {
namespace {

// Entries that stand for castling, with the king's real destination.
constexpr struct {
  rules::Square from;
  rules::Square rookSquare;
  rules::Square kingTo;
  rules::Color color;
} kCastlings[] = {
    {4, 7, 6, rules::Color::kWhite},     // e1h1 -> e1g1
    {4, 0, 2, rules::Color::kWhite},     // e1a1 -> e1c1
    {60, 63, 62, rules::Color::kBlack},  // e8h8 -> e8g8
    {60, 56, 58, rules::Color::kBlack},  // e8a8 -> e8c8
};

}  // namespace

notation::MoveText DecodeBookMove(std::uint16_t move, const rules::Position& position) {
  const rules::Square to = move & 0x3f;
  const rules::Square from = (move >> 6) & 0x3f;
  const int promotion = (move >> 12) & 0x7;
  if (from == to || promotion > 4 || (move & 0x8000) != 0) return {};
  rules::Square kingTo = to;
  for (const auto& castling : kCastlings) {
    if (from == castling.from && to == castling.rookSquare &&
        position.PieceOn(from) == rules::MakePiece(castling.color, rules::kKing)) {
      kingTo = castling.kingTo;
    }
  }
  // Polyglot numbers the promotion pieces knight 1 to queen 4, one below their piece codes.
  return notation::WriteMoveText(rules::FileOf(from) + 1, rules::RankOf(from) + 1, rules::FileOf(kingTo) + 1,
                                 rules::RankOf(kingTo) + 1, promotion != 0 ? promotion + 1 : 0);
}

}  // namespace book
