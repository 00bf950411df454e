#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "book/book.h"
#include "tools/commands.h"
#include "tools/installed_data.h"

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

// The book of that name in the working directory, else the installed one.
std::string DefaultBook(const char* name) {
  std::error_code error;
  if (std::filesystem::exists(name, error)) return name;
  const std::string installed = InstalledDataFile(name);
  return installed.empty() ? name : installed;
}

}  // namespace

// book "FEN" [TOURBOOK MAINBOOK]: the entries of each book for the position and the move
// the books give; the books default to the engine's own files in the working directory, and
// where there is none, to the installed default books.
int RunBook(ToolArgs args) {
  if (args.size() != 1 && args.size() != 3) {
    std::fprintf(stderr, "usage: brindlet-tool book \"FEN\" [TOURBOOK MAINBOOK]\n");
    return 2;
  }
  const char* fen = args[0];
  const std::string tourPath = args.size() == 3 ? args[1] : DefaultBook("tourbook.bin");
  const std::string mainPath = args.size() == 3 ? args[2] : DefaultBook("mainbook.bin");
  const std::optional<std::uint64_t> key = book::PolyglotKeyOfFen(fen);
  if (!key) {
    std::printf("not a FEN this book can read\n");
    return 1;
  }
  std::printf("key %016" PRIx64 "\n", *key);
  const bool opened = book::OpenBooks(tourPath.c_str(), mainPath.c_str());
  PrintBook("tour", tourPath.c_str(), book::BookSlot::kTour, fen);
  PrintBook("main", mainPath.c_str(), book::BookSlot::kMain, fen);
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
