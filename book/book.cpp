#include "book/book.h"

#include <cstring>

#include "book/book_choice.h"
#include "book/book_file.h"
#include "book/polyglot_key.h"

namespace {

// The caller's FEN buffer holds 200 bytes; nothing past it is read.
constexpr std::size_t kFenBufferSize = 200;

// Both books for the life of the process, tour book first.
book::BookFile& Book(book::BookSlot slot) {
  static book::BookFile books[2];
  return books[static_cast<int>(slot)];
}

// Book names come in the form ".\tourbook.bin", where the backslash separates the path.
std::string LocalPath(const char* name) {
  std::string path = name;
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

bool OpenNamed(book::BookSlot slot, const char* name) {
  if (name == nullptr || name[0] == '\0') return false;
  return Book(slot).Open(LocalPath(name));
}

// A FEN text only if a zero byte ends it inside the buffer; nothing past that byte is read.
std::optional<std::string_view> FenText(const char* fen) {
  if (fen == nullptr) return std::nullopt;
  const std::size_t length = strnlen(fen, kFenBufferSize);
  if (length == kFenBufferSize) return std::nullopt;
  return std::string_view(fen, length);
}

}  // namespace

extern "C" {

int32_t INITIALIZE(const char* tourBook, const char* mainBook) {
  CLOSE_BOOK();
  const bool tourOpen = OpenNamed(book::BookSlot::kTour, tourBook);
  const bool mainOpen = OpenNamed(book::BookSlot::kMain, mainBook);
  return tourOpen || mainOpen ? 0 : 1;
}

int32_t FIND_OPENING(const char* fen, char* fromText, char* toText, char*, char*, char*, char*,
                     int32_t*) {
  if (fromText == nullptr || toText == nullptr) return 1;
  const std::optional<std::string_view> text = FenText(fen);
  if (!text) return 1;
  const std::optional<book::LookupPosition> position = book::PrepareLookup(*text);
  if (!position) return 1;
  for (const book::BookSlot slot : {book::BookSlot::kTour, book::BookSlot::kMain}) {
    if (!Book(slot).isOpen()) continue;
    const book::DecodedMove move = book::ChooseBookMove(Book(slot), *position);
    if (move.empty()) continue;
    // Both buffers hold 10 bytes: "e2" and "e4" or "e7" and "e8q", each zero-terminated.
    std::memcpy(fromText, move.text.data(), 2);
    fromText[2] = '\0';
    std::memcpy(toText, move.text.data() + 2, 3);
    toText[3] = '\0';
    return 0;
  }
  return 1;
}

void CLOSE_BOOK(void) {
  Book(book::BookSlot::kTour).Close();
  Book(book::BookSlot::kMain).Close();
}

}  // extern "C"

namespace book {

std::optional<std::uint64_t> PolyglotKeyOfFen(std::string_view fen) {
  const std::optional<BookPosition> position = ParseBookPosition(fen);
  if (!position) return std::nullopt;
  return PolyglotKey(*position);
}

std::string BookMoveText(std::uint16_t move, std::string_view fen) {
  const std::optional<BookPosition> position = ParseBookPosition(fen);
  if (!position) return {};
  return DecodeBookMove(move, *position).text.data();
}

bool IsBookOpen(BookSlot slot) { return Book(slot).isOpen(); }

std::uint64_t BookEntryCount(BookSlot slot) { return Book(slot).entryCount(); }

std::vector<ListedEntry> ListEntries(BookSlot slot, std::string_view fen) {
  std::vector<ListedEntry> entries;
  const BookFile& file = Book(slot);
  if (!file.isOpen()) return entries;
  const std::optional<LookupPosition> position = PrepareLookup(fen);
  if (!position) return entries;
  const auto [first, last] = file.FindKey(position->key);
  for (std::size_t index = first; index < last; ++index) {
    const BookEntry entry = file.Entry(index);
    const DecodedMove move = DecodeBookMove(entry.move, position->board);
    ListedEntry listed;
    listed.move = move.text.data();
    listed.weight = entry.weight;
    listed.learn = entry.learn;
    listed.legal = IsLegalBookMove(*position, move);
    entries.push_back(listed);
  }
  return entries;
}

}  // namespace book
