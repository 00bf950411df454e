#pragma once
#include <cstdint>

#include "book/book_position.h"

namespace book {

// The Zobrist key under which Polyglot books file this position.
std::uint64_t PolyglotKey(const BookPosition& position);

}  // namespace book
