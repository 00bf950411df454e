#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "book/book.h"
#include "tests/book/book_lookup.h"
#include "tests/book/book_writer.h"
#include "tests/support/engine_process.h"

namespace {

using book_test::BookBytes;
using book_test::FindOpening;
using book_test::RawEntry;
using book_test::WriteFile;
using test_support::GamesProgram;
using test_support::ReadLines;
using test_support::RunShell;

const std::filesystem::path kData = BRINDLET_TEST_DATA;

// Stockfish's legal moves for the position, as move texts.
std::set<std::string> StockfishMoves(const std::string& fen) {
  std::istringstream output(RunShell("printf 'position fen " + fen + "\\ngo perft 1\\nquit\\n' | " +
                                     GamesProgram("stockfish") + " | sed -n 's/^\\([a-h][1-8][a-h][1-8][nbrq]*\\): 1$/\\1/p'"));
  std::set<std::string> moves;
  for (std::string move; std::getline(output, move);) moves.insert(move);
  return moves;
}

// Stockfish writes castling as the king's two-step, as the book's choice does.
std::vector<std::string> Positions() {
  std::vector<std::string> fens = {
      "r3k2r/pppq1ppp/2npbn2/2b1p3/2B1P3/2NPBN2/PPPQ1PPP/R3K2R w KQkq - 6 8",
      "r3k2r/pppq1ppp/2npbn2/2b1p3/2B1P3/2NPBN2/PPPQ1PPP/R4RK1 b kq - 7 8",
      "r3k2r/8/8/8/4b3/8/8/R3K2R w KQkq - 0 1",  // the bishop on e4 sees b1 but not c1 or d1
      "1n2k3/P7/8/8/8/8/8/4K3 w - - 0 1",
      "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3",
      "8/8/8/KPp4r/8/8/8/6k1 w - c6 0 2",  // the en-passant capture would expose the king
      "4k3/8/8/8/8/8/4q3/4K3 w - - 0 1",   // in check, one reply
  };
  // And positions from the real games, every 2000th.
  const std::vector<std::string> real = ReadLines(kData / "games" / "positions.txt");
  for (std::size_t index = 0; index < real.size(); index += 2000) fens.push_back(real[index]);
  return fens;
}

// A book holding every move field there is under the position's key: the moves it finds
// legal must be exactly stockfish's, and the first legal entry in file order is the choice.
TEST(EveryMoveField, LegalEntriesAreExactlyStockfishsMoves) {
  test_support::TempDir dir;
  const std::string path = dir.File("every.bin");
  for (const std::string& fen : Positions()) {
    SCOPED_TRACE(fen);
    const std::optional<std::uint64_t> key = book::PolyglotKeyOfFen(fen);
    ASSERT_TRUE(key.has_value());
    std::vector<RawEntry> entries;
    for (std::uint32_t field = 0; field < (5u << 12); ++field) {
      entries.push_back({*key, static_cast<std::uint16_t>(field), 1});
    }
    WriteFile(path, BookBytes(entries));
    ASSERT_TRUE(book::OpenBooks(path, ""));
    std::set<std::string> legal;
    std::string first;
    for (const book::ListedEntry& entry : book::ListEntries(book::BookSlot::kTour, fen)) {
      if (!entry.legal) continue;
      legal.insert(entry.move);
      if (first.empty()) first = entry.move;
    }
    EXPECT_EQ(legal, StockfishMoves(fen));
    if (first.empty()) {
      EXPECT_EQ(FindOpening(fen), std::nullopt);
    } else {
      EXPECT_EQ(FindOpening(fen), first);
    }
    book::CloseBooks();
  }
}

}  // namespace
