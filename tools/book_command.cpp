#include <cinttypes>
#include <cstdio>
#include <optional>
#include <vector>

#include "book/book.h"
#include "tools/commands.h"

namespace {

void PrintBook(const char* label, const char* path, book::BookSlot slot, const char* fen) {
  if (!book::IsBookOpen(slot)) {
    std::printf("%s %s: not open\n", label, path);
    return;
  }
  const std::vector<book::ListedEntry> entries = book::ListEntries(slot, fen);
  std::printf("%s %s: %" PRIu64 " entries in the book, %zu for this position\n", label, path,
              book::BookEntryCount(slot), entries.size());
  for (const book::ListedEntry& entry : entries) {
    std::printf("  %-6s weight %5u learn %u%s\n", entry.move.empty() ? "(none)" : entry.move.c_str(),
                static_cast<unsigned>(entry.weight), static_cast<unsigned>(entry.learn),
                entry.legal ? "" : "  (not a legal move here)");
  }
}

}  // namespace

// book "FEN" [TOURBOOK MAINBOOK]: the entries of each book for the position and the move
// the books give; the books default to the engine's own files in the working directory.
int RunBook(ToolArgs args) {
  if (args.size() != 1 && args.size() != 3) {
    std::fprintf(stderr, "usage: brindlet-tool book \"FEN\" [TOURBOOK MAINBOOK]\n");
    return 2;
  }
  const char* fen = args[0];
  const char* tourPath = args.size() == 3 ? args[1] : "tourbook.bin";
  const char* mainPath = args.size() == 3 ? args[2] : "mainbook.bin";
  const std::optional<std::uint64_t> key = book::PolyglotKeyOfFen(fen);
  if (!key) {
    std::printf("not a FEN this book can read\n");
    return 1;
  }
  std::printf("key %016" PRIx64 "\n", *key);
  const bool opened = book::OpenBooks(tourPath, mainPath);
  PrintBook("tour", tourPath, book::BookSlot::kTour, fen);
  PrintBook("main", mainPath, book::BookSlot::kMain, fen);
  const std::optional<rules::Move> move = book::FindMove(fen);
  book::CloseBooks();
  if (!opened) {
    std::printf("move: none (no book opened)\n");
    return 1;
  }
  if (!move) {
    std::printf("move: none\n");
    return 1;
  }
  std::printf("move: %s\n", rules::ToUci(*move).c_str());
  return 0;
}
