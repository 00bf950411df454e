#pragma once
#include <cstdint>
#include <optional>

#include "book/book_file.h"
#include "rules/rules.h"

namespace book {

// The legal move that a book entry's move field stands for in the position, if any.
std::optional<rules::Move> LegalBookMove(const rules::Position& position, std::uint16_t field);

// The move to play from one book: among the entries under `key` whose moves are legal in
// the position, the highest weight, the first in file order on a tie.
std::optional<rules::Move> ChooseBookMove(const BookFile& file, const rules::Position& position, std::uint64_t key);

}  // namespace book
