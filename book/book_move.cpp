#include "book/book_move.h"

#include <cstddef>

namespace book {
namespace {


// Entries that stand for castling, with the king's real destination.
constexpr struct {
  int from;
  int rookSquare;
  int kingTo;
  int king;
} kCastlings[] = {
    {4, 7, 6, kWhiteKingKind},    // e1h1 -> e1g1
    {4, 0, 2, kWhiteKingKind},    // e1a1 -> e1c1
    {60, 63, 62, kBlackKingKind}, // e8h8 -> e8g8
    {60, 56, 58, kBlackKingKind}, // e8a8 -> e8c8
};

void WriteSquare(char* out, int square) {
  out[0] = static_cast<char>('a' + square % 8);
  out[1] = static_cast<char>('1' + square / 8);
}

}  // namespace

DecodedMove DecodeBookMove(std::uint16_t move, const BookPosition& position) {
  DecodedMove result;
  const int to = move & 0x3f;
  int from = (move >> 6) & 0x3f;
  const int promotion = (move >> 12) & 0x7;
  if (from == to || promotion > 4 || (move & 0x8000) != 0) return result;
  int kingTo = to;
  for (const auto& castling : kCastlings) {
    if (from == castling.from && to == castling.rookSquare &&
        position.kind[static_cast<std::size_t>(from)] == castling.king) {
      kingTo = castling.kingTo;
    }
  }
  WriteSquare(result.text.data(), from);
  WriteSquare(result.text.data() + 2, kingTo);
  constexpr char kPromotionLetters[] = " nbrq";
  if (promotion != 0) result.text[4] = kPromotionLetters[promotion];
  return result;
}

}  // namespace book
