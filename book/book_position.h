#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace book {

// What a book key needs from a FEN text. Squares are numbered 8 * rank + file from
// a1 = 0; pieces are the Polyglot kinds 0..11 (black pawn, white pawn, black knight, ...),
// -1 for an empty square.
struct BookPosition {
  std::array<std::int8_t, 64> kind{};
  bool whiteToMove = true;
  // White king side, white queen side, black king side, black queen side, as the FEN says.
  std::array<bool, 4> castle{};
  // The en-passant target square of the FEN, -1 for none.
  int enPassantSquare = -1;
};

inline constexpr int kWhitePawnKind = 1;
inline constexpr int kBlackPawnKind = 0;
inline constexpr int kWhiteRookKind = 7;
inline constexpr int kBlackRookKind = 6;
inline constexpr int kWhiteKingKind = 11;
inline constexpr int kBlackKingKind = 10;

// Reads placement, side, castling and en-passant fields; the two clocks are optional
// but must be plain numbers when present. Anything else, or a missing king, is no position.
std::optional<BookPosition> ParseBookPosition(std::string_view fen);

}  // namespace book
