#pragma once
#include <cstdint>

#include "notation/notation.h"
#include "rules/rules.h"

namespace book {

// Decodes a Polyglot move field into a move text ("e2e4", "e7e8q"). Castling is stored as
// the king taking its own rook (e1h1, e1a1, e8h8, e8a8); with that king on its square it
// becomes the king's two-step. The move 0, a from-square equal to the to-square and an
// unknown promotion code give the empty text.
notation::MoveText DecodeBookMove(std::uint16_t move, const rules::Position& position);

}  // namespace book
