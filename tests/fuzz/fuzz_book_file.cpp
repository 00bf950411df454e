// Arbitrary bytes as a book file, and the same bytes as moves and weights under known
// positions: opening, validating and asking must stay safe and answer only legal moves.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "book/book.h"
#include "rules/rules.h"

namespace {

constexpr const char* kFens[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r3k2r/pppq1ppp/2npbn2/2b1p3/2B1P3/2NPBN2/PPPQ1PPP/R3K2R w KQkq - 6 8",
    "1n2k3/P7/8/8/8/8/8/4K3 w - - 0 1",
    "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3",
};

// The book lives in memory: a file on disk made each run slow to a crawl.
int BookFd() {
  static const int fd = memfd_create("brindlet-fuzz-book", 0);
  if (fd < 0) std::abort();
  return fd;
}

void WriteBytes(const std::string& bytes) {
  const int fd = BookFd();
  if (ftruncate(fd, 0) != 0 || pwrite(fd, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size())) {
    std::abort();
  }
}

void AskAll() {
  for (const char* fen : kFens) {
    const std::optional<rules::Position> position = rules::Position::FromFen(fen);
    const std::optional<rules::Move> move = book::FindMove(*position);
    if (move && !rules::IsLegalMove(*position, *move)) std::abort();
    (void)book::ListEntries(book::BookSlot::kMain, fen);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/proc/self/fd/" + std::to_string(BookFd());
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  // The bytes as they are.
  WriteBytes(bytes);
  if (book::OpenBooks("", path)) AskAll();
  book::CloseBooks();

  // Each four bytes a move and a weight, filed under one of the known positions.
  const std::uint64_t key = *book::PolyglotKeyOfFen(kFens[size % 4]);
  std::string book;
  for (size_t offset = 0; offset + 4 <= size; offset += 4) {
    for (int shift = 56; shift >= 0; shift -= 8) book.push_back(static_cast<char>(key >> shift));
    book.append(bytes, offset, 4);
    book.append(4, '\0');
  }
  WriteBytes(book);
  if (book::OpenBooks(path, "")) AskAll();
  book::CloseBooks();
  return 0;
}
