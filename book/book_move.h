#pragma once
#include <array>
#include <cstdint>

#include "book/book_position.h"

namespace book {

// A move text made from a book entry: "e2e4", "e7e8q", or empty ("") for no move.
struct DecodedMove {
  std::array<char, 6> text{};
  bool empty() const { return text[0] == '\0'; }
};

// Decodes a Polyglot move field. Castling is stored as the king taking its own rook
// (e1h1, e1a1, e8h8, e8a8); with that king on its square it becomes the king's two-step.
// The move 0, a from-square equal to the to-square and an unknown promotion code give no move.
DecodedMove DecodeBookMove(std::uint16_t move, const BookPosition& position);

}  // namespace book
