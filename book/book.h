#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The opening book: standard Polyglot .bin books, a tour book asked before a main book.
extern "C" {
// Opens each named book that exists and is well formed; 0 when at least one opened,
// 1 when none did. A backslash in a name is a path separator; names are relative to the
// working directory. An empty file is no book. Opening again first closes what was open.
int32_t INITIALIZE(const char* tourBook, const char* mainBook);
// Looks up the FEN text (read up to its zero byte, at most 200 bytes): among the entries
// for the position that are legal moves, the tour book's best, else the main book's best,
// where best is the highest weight and the first in file order on a tie. On a hit it writes
// the from-square text into fromText and the to-square text (with a promotion letter) into
// toText, each zero-terminated in lower case, and returns 0. A miss returns 1 and writes nothing.
int32_t FIND_OPENING(const char* fen, char* fromText, char* toText, char* spare1, char* spare2,
                     char* spare3, char* spare4, int32_t* spareNumber);
// Releases both books; a second call does nothing.
void CLOSE_BOOK(void);
}

namespace book {

enum class BookSlot { kTour = 0, kMain = 1 };

// The Polyglot key of a FEN text, or nothing for a text that is no FEN.
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

// Whether INITIALIZE opened this book, and how many entries it holds.
bool IsBookOpen(BookSlot slot);
std::uint64_t BookEntryCount(BookSlot slot);
// The open book's entries for the FEN's position (none for a closed book or a bad FEN).
std::vector<ListedEntry> ListEntries(BookSlot slot, std::string_view fen);

}  // namespace book
