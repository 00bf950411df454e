#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include "book/book.h"
#include "tools/commands.h"

namespace {

void PrintBook(const char* label, const char* name, book::BookSlot slot, const char* fen) {
  if (!book::IsBookOpen(slot)) {
    std::printf("%s %s: not open\n", label, name);
    return;
  }
  const std::vector<book::ListedEntry> entries = book::ListEntries(slot, fen);
  std::printf("%s %s: %" PRIu64 " entries in the book, %zu for this position\n", label, name,
              book::BookEntryCount(slot), entries.size());
  for (const book::ListedEntry& entry : entries) {
    std::printf("  %-6s weight %5u learn %u%s\n", entry.move.empty() ? "(none)" : entry.move.c_str(),
                static_cast<unsigned>(entry.weight), static_cast<unsigned>(entry.learn),
                entry.legal ? "" : "  (not a legal move here)");
  }
}

}  // namespace

// book "FEN" [TOURBOOK MAINBOOK]: the entries of each book for the position and the move
// FIND_OPENING gives; the books default to the engine's own names in the working directory.
int RunBook(ToolArgs args) {
  if (args.size() != 1 && args.size() != 3) {
    std::fprintf(stderr, "usage: brindlet-tool book \"FEN\" [TOURBOOK MAINBOOK]\n");
    return 2;
  }
  const char* fen = args[0];
  const char* tourName = args.size() == 3 ? args[1] : ".\\tourbook.bin";
  const char* mainName = args.size() == 3 ? args[2] : ".\\mainbook.bin";
  const std::optional<std::uint64_t> key = book::PolyglotKeyOfFen(fen);
  if (!key) {
    std::printf("not a FEN this book can read\n");
    return 1;
  }
  std::printf("key %016" PRIx64 "\n", *key);
  const int32_t opened = INITIALIZE(tourName, mainName);
  PrintBook("tour", tourName, book::BookSlot::kTour, fen);
  PrintBook("main", mainName, book::BookSlot::kMain, fen);
  if (opened != 0) {
    std::printf("move: none (no book opened)\n");
    return 1;
  }
  // FIND_OPENING's buffers are two of 10 bytes and four of 20, zeroed, as the engine passes them.
  char fenBuffer[200] = {};
  std::strncpy(fenBuffer, fen, sizeof fenBuffer - 1);
  char from[10] = {};
  char to[10] = {};
  char spare[4][20] = {};
  int32_t spareNumber = 0;
  const int32_t found = FIND_OPENING(fenBuffer, from, to, spare[0], spare[1], spare[2], spare[3], &spareNumber);
  CLOSE_BOOK();
  if (found != 0) {
    std::printf("move: none\n");
    return 1;
  }
  std::printf("move: %s%s\n", from, to);
  return 0;
}
