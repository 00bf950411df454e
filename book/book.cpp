#include "book/book.h"

#include "book/book_choice.h"
#include "book/book_file.h"
#include "book/book_move.h"

namespace book {
namespace {

// Both books for the life of the process, tour book first.
BookFile& Book(BookSlot slot) {
  static BookFile books[2];
  return books[static_cast<int>(slot)];
}

BookHost*& Host() {
  static BookHost* host = nullptr;
  return host;
}

bool OpenPath(BookSlot slot, std::string_view path) {
  if (path.empty()) return false;
  return Book(slot).Open(std::string(path), Host());
}

}  // namespace

void SetBookHost(BookHost* host) { Host() = host; }

bool OpenBooks(std::string_view tourPath, std::string_view mainPath) {
  CloseBooks();
  const bool tourOpen = OpenPath(BookSlot::kTour, tourPath);
  const bool mainOpen = OpenPath(BookSlot::kMain, mainPath);
  return tourOpen || mainOpen;
}

void CloseBooks() {
  Book(BookSlot::kTour).Close();
  Book(BookSlot::kMain).Close();
}

std::optional<rules::Move> FindMove(const rules::Position& position) {
  const std::uint64_t key = PolyglotKey(position);
  for (const BookSlot slot : {BookSlot::kTour, BookSlot::kMain}) {
    if (!Book(slot).isOpen()) continue;
    if (const std::optional<rules::Move> move = ChooseBookMove(Book(slot), position, key)) return move;
  }
  return std::nullopt;
}

std::optional<rules::Move> FindMove(std::string_view fen) {
  const std::optional<rules::Position> position = rules::Position::FromFen(fen);
  if (!position) return std::nullopt;
  return FindMove(*position);
}

std::optional<std::uint64_t> PolyglotKeyOfFen(std::string_view fen) {
  const std::optional<rules::Position> position = rules::Position::FromFen(fen);
  if (!position) return std::nullopt;
  return PolyglotKey(*position);
}

std::string BookMoveText(std::uint16_t move, std::string_view fen) {
  const std::optional<rules::Position> position = rules::Position::FromFen(fen);
  if (!position) return {};
  return std::string(DecodeBookMove(move, *position).view());
}

bool IsBookOpen(BookSlot slot) { return Book(slot).isOpen(); }

std::uint64_t BookEntryCount(BookSlot slot) { return Book(slot).entryCount(); }

std::vector<ListedEntry> ListEntries(BookSlot slot, std::string_view fen) {
  std::vector<ListedEntry> entries;
  const BookFile& file = Book(slot);
  if (!file.isOpen()) return entries;
  const std::optional<rules::Position> position = rules::Position::FromFen(fen);
  if (!position) return entries;
  const auto [first, last] = file.FindKey(PolyglotKey(*position));
  for (std::size_t index = first; index < last; ++index) {
    const BookEntry entry = file.Entry(index);
    ListedEntry listed;
    listed.move = DecodeBookMove(entry.move, *position).view();
    listed.weight = entry.weight;
    listed.learn = entry.learn;
    listed.legal = LegalBookMove(*position, entry.move).has_value();
    entries.push_back(listed);
  }
  return entries;
}

}  // namespace book
