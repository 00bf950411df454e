#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <optional>
#include <string>

#include "book/book.h"
#include "tests/book/book_writer.h"
#include "tests/support/engine_process.h"

namespace {

struct KeyCase {
  const char* moves;
  const char* fen;
  std::uint64_t key;
};

// The keys published with the book format, each FEN written as the engine's tracker writes
// it: the en-passant square follows every double step, whether or not a pawn can take.
constexpr KeyCase kPublishedKeys[] = {
    {"", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 0x463b96181691fc9cULL},
    {"e2e4", "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1", 0x823c9b50fd114196ULL},
    {"e2e4 d7d5", "rnbqkbnr/ppp1pppp/8/3p4/4P3/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 2", 0x0756b94461c50fb0ULL},
    {"e2e4 d7d5 e4e5", "rnbqkbnr/ppp1pppp/8/3pP3/8/8/PPPP1PPP/RNBQKBNR b KQkq - 0 2", 0x662fafb965db29d4ULL},
    {"e2e4 d7d5 e4e5 f7f5", "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3",
     0x22a48b5a8e47ff78ULL},
    {"e2e4 d7d5 e4e5 f7f5 e1e2", "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPPKPPP/RNBQ1BNR b kq - 0 3",
     0x652a607ca3f242c1ULL},
    {"e2e4 d7d5 e4e5 f7f5 e1e2 e8f7", "rnbq1bnr/ppp1pkpp/8/3pPp2/8/8/PPPPKPPP/RNBQ1BNR w - - 0 4",
     0x00fdd303c946bdd9ULL},
    {"a2a4 b7b5 h2h4 b5b4 c2c4", "rnbqkbnr/p1pppppp/8/8/PpP4P/8/1P1PPPP1/RNBQKBNR b KQkq c3 0 3",
     0x3c8123ea7b067637ULL},
    {"a2a4 b7b5 h2h4 b5b4 c2c4 b4c3 a1a3", "rnbqkbnr/p1pppppp/8/8/P6P/R1p5/1P1PPPP1/1NBQKBNR b Kkq - 0 4",
     0x5c3f9b829b279560ULL},
};

TEST(PolyglotKey, PublishedTestKeys) {
  for (const KeyCase& c : kPublishedKeys) {
    SCOPED_TRACE(std::string("after ") + c.moves + ": " + c.fen);
    const std::optional<std::uint64_t> key = book::PolyglotKeyOfFen(c.fen);
    ASSERT_TRUE(key.has_value());
    EXPECT_EQ(*key, c.key);
  }
}

// The same keys from the FENs that the engine's own tracker writes after those moves.
TEST(PolyglotKey, PublishedTestKeysFromTheTrackersFens) {
  for (const KeyCase& c : kPublishedKeys) {
    SCOPED_TRACE(std::string("after ") + c.moves);
    int status = -1;
    std::string fen = test_support::RunShell(test_support::ToolCommand() + " fen startpos " + c.moves, &status);
    ASSERT_EQ(status, 0);
    while (!fen.empty() && (fen.back() == '\n' || fen.back() == '\r')) fen.pop_back();
    const std::optional<std::uint64_t> key = book::PolyglotKeyOfFen(fen);
    ASSERT_TRUE(key.has_value()) << fen;
    EXPECT_EQ(*key, c.key) << fen;
  }
}

// Positions in which the only pawn that can take en passant stands on the a- or h-file. Each
// game ends with that capture, so the key polyglot stores with the capture's move is the key
// polyglot gives the position.
struct EdgeCase {
  const char* game;
  const char* fen;
  const char* from;
  const char* to;
};

constexpr EdgeCase kEdgeEnPassant[] = {
    {"1. h4 a6 2. h5 g5 3. hxg6", "rnbqkbnr/1ppppp1p/p7/6pP/8/8/PPPPPPP1/RNBQKBNR w KQkq g6 0 3", "h5", "g6"},
    {"1. a3 h5 2. a4 h4 3. g4 hxg3", "rnbqkbnr/ppppppp1/8/8/P5Pp/8/1PPPPP1P/RNBQKBNR b KQkq g3 0 3", "h4", "g3"},
    {"1. a4 h6 2. a5 b5 3. axb6", "rnbqkbnr/p1ppppp1/7p/Pp6/8/8/1PPPPPPP/RNBQKBNR w KQkq b6 0 3", "a5", "b6"},
    {"1. h3 a5 2. h4 a4 3. b4 axb3", "rnbqkbnr/1ppppppp/8/8/pP5P/8/P1PPPPP1/RNBQKBNR b KQkq b3 0 3", "a4", "b3"},
};

TEST(PolyglotKey, EnPassantTakerOnAnEdgeFileAgreesWithPolyglot) {
  test_support::TempDir dir;
  std::ofstream pgn(dir.File("edge.pgn"));
  for (const EdgeCase& c : kEdgeEnPassant) pgn << "[Event \"e\"]\n[Result \"*\"]\n\n" << c.game << " *\n\n";
  pgn.close();
  int status = -1;
  test_support::RunShell(test_support::GamesProgram("polyglot") + " make-book -pgn " + dir.File("edge.pgn") +
                             " -bin " + dir.File("edge.bin") + " -min-game 1 >/dev/null 2>&1",
                         &status);
  ASSERT_EQ(status, 0);
  const std::string bytes = test_support::ReadFile(dir.path() / "edge.bin");
  ASSERT_EQ(bytes.size() % 16, 0u);
  // Entries are 16 bytes: key, move, weight, learn, each highest byte first.
  const auto field = [&bytes](std::size_t at, std::size_t count) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < count; ++i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
  };
  for (const EdgeCase& c : kEdgeEnPassant) {
    SCOPED_TRACE(c.fen);
    std::optional<std::uint64_t> polyglotKey;
    for (std::size_t at = 0; at < bytes.size(); at += 16) {
      if (field(at + 8, 2) == book_test::MoveField(c.from, c.to)) polyglotKey = field(at, 8);
    }
    ASSERT_TRUE(polyglotKey.has_value()) << "no entry for " << c.from << c.to;
    EXPECT_EQ(book::PolyglotKeyOfFen(c.fen), polyglotKey);
  }
}

// Two texts of one position as a book sees it: the book keys them alike.
struct SameKeyCase {
  const char* why;
  const char* fen;
  const char* sameAs;
};

constexpr SameKeyCase kSameKeys[] = {
    {"a double step with no pawn beside it hashes no en-passant file",
     "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1",
     "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1"},
    {"a pawn of the side that just moved beside the pushed pawn does not count",
     "rnbqkbnr/pppppppp/8/8/3PP3/8/PPP2PPP/RNBQKBNR b KQkq e3 0 2",
     "rnbqkbnr/pppppppp/8/8/3PP3/8/PPP2PPP/RNBQKBNR b KQkq - 0 2"},
    {"a pawn beside the target square but not beside the pushed pawn does not count",
     "rnbqkbnr/pppp1ppp/8/8/4P3/3p4/PPPP1PPP/RNBQKBNR b KQkq e3 0 3",
     "rnbqkbnr/pppp1ppp/8/8/4P3/3p4/PPPP1PPP/RNBQKBNR b KQkq - 0 3"},
    {"a castling letter whose rook was taken in its corner is no right (the book builder dropped it)",
     "Bnbqkb1r/2pp1ppp/p3pn2/8/8/6P1/PPPPPP1P/RNBQK1NR b KQkq - 0 4",
     "Bnbqkb1r/2pp1ppp/p3pn2/8/8/6P1/PPPPPP1P/RNBQK1NR b KQk - 0 4"},
    {"a castling letter whose king has left home is no right",
     "rnbq1bnr/ppppkppp/4p3/8/8/4P3/PPPPKPPP/RNBQ1BNR w KQkq - 2 3",
     "rnbq1bnr/ppppkppp/4p3/8/8/4P3/PPPPKPPP/RNBQ1BNR w - - 2 3"},
    {"castling letters in any order", "r3k2r/8/8/8/8/8/8/R3K2R w qkQK - 0 1",
     "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1"},
    {"clocks play no part", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 37 90",
     "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -"},
};

TEST(PolyglotKey, TextsOfOnePositionShareTheKey) {
  for (const SameKeyCase& c : kSameKeys) {
    SCOPED_TRACE(c.why);
    const std::optional<std::uint64_t> key = book::PolyglotKeyOfFen(c.fen);
    const std::optional<std::uint64_t> other = book::PolyglotKeyOfFen(c.sameAs);
    ASSERT_TRUE(key.has_value());
    ASSERT_TRUE(other.has_value());
    EXPECT_EQ(*key, *other);
  }
}

TEST(PolyglotKey, EveryFieldThatCountsChangesTheKey) {
  const std::uint64_t start = *book::PolyglotKeyOfFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  for (const char* fen : {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1",
                          "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w Qkq - 0 1",
                          "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w Kkq - 0 1",
                          "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQq - 0 1",
                          "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQk - 0 1",
                          "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBKQBNR w kq - 0 1"}) {
    SCOPED_TRACE(fen);
    const std::optional<std::uint64_t> key = book::PolyglotKeyOfFen(fen);
    ASSERT_TRUE(key.has_value());
    EXPECT_NE(*key, start);
  }
}

TEST(PolyglotKey, TextsThatAreNoFenHaveNoKey) {
  for (const char* text : {
           "",
           " ",
           "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR",
           "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w",
           "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq",
           "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0",
           "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1 extra",
           "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR  w KQkq - 0 1",
           "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1 ",
           "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x KQkq - 0 1",
           "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkqK - 0 1",
           "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KX - 0 1",
           "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq e4 0 1",
           "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq i3 0 1",
           "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - -1 1",
           "rnbqkbnr/pppppppp/9/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
           "rnbqkbnr/ppppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
           "rnbqkbnr/pppppppp/7/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
           "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP w KQkq - 0 1",
           "rnbqkbnr/pppppppp/8/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
           "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQ1BNR w kq - 0 1",
           "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKKNR w kq - 0 1",
           "rnbqkbnr/ppppxppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
           "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 99999999999999999999",
       }) {
    SCOPED_TRACE(std::string("text: '") + text + "'");
    EXPECT_FALSE(book::PolyglotKeyOfFen(text).has_value());
  }
}

}  // namespace
