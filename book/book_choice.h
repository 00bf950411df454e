#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

#include "book/book_file.h"
#include "book/book_move.h"
#include "book/book_position.h"
#include "rules/rules.h"

namespace book {

// A FEN text read once for all the books asked about it.
struct LookupPosition {
  BookPosition board;
  rules::Position rules;
  std::uint64_t key;
};

// Nothing when either reading of the text refuses it.
std::optional<LookupPosition> PrepareLookup(std::string_view fen);

// Whether the decoded move is a legal move of the position.
bool IsLegalBookMove(const LookupPosition& position, const DecodedMove& move);

// The move to play from one book: among the position's entries whose moves are legal,
// the highest weight, the first in file order on a tie. Empty when there is none.
// A hash collision or a corrupt entry is never a legal move, so it is never chosen.
DecodedMove ChooseBookMove(const BookFile& file, const LookupPosition& position);

}  // namespace book
