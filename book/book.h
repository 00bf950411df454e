#pragma once
// The opening book: standard Polyglot .bin books, a tour book asked before a main book.
// This is the typed front door; entry_points.h holds the C calls the engine makes.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "book/book_host.h"
#include "rules/rules.h"

namespace book {

enum class BookSlot { kTour = 0, kMain = 1 };

// Opens each book whose path (in this system's form) names a well-formed book, after
// closing what was open; an empty path opens nothing, and so does an empty file. True when
// at least one book opened.
bool OpenBooks(std::string_view tourPath, std::string_view mainPath);
// Releases both books; a second call does nothing.
void CloseBooks();

// The book move for the position: among its entries that are legal moves, the tour book's
// best, else the main book's, where best is the highest weight and the first in file order
// on a tie. A hash collision or a corrupt entry is never a legal move, so never chosen.
std::optional<rules::Move> FindMove(const rules::Position& position);
// The same for a FEN text; nothing for a text that rules::Position::FromFen refuses.
std::optional<rules::Move> FindMove(std::string_view fen);

// The Zobrist key under which Polyglot books file the position.
std::uint64_t PolyglotKey(const rules::Position& position);
// The key of a FEN text, or nothing for a text that rules::Position::FromFen refuses.
std::optional<std::uint64_t> PolyglotKeyOfFen(std::string_view fen);

// The move text that a book entry's 16-bit move stands for in the FEN's position: castling
// stored as king-takes-rook comes out as the king's two-step, a promotion carries its letter.
// Empty for the move 0, an undecodable field or a text that is no FEN. Legality is not checked.
std::string BookMoveText(std::uint16_t move, std::string_view fen);

// One entry of an open book for a position, in file order, for listings.
struct ListedEntry {
  std::string move;  // decoded as BookMoveText does
  std::uint16_t weight = 0;
  std::uint32_t learn = 0;
  bool legal = false;
};

// Whether this book is open, and how many entries it holds.
bool IsBookOpen(BookSlot slot);
std::uint64_t BookEntryCount(BookSlot slot);
// The open book's entries for the FEN's position (none for a closed book or a bad FEN).
std::vector<ListedEntry> ListEntries(BookSlot slot, std::string_view fen);

}  // namespace book
