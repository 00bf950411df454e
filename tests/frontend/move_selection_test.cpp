// Move selection through the real engine: book files made at test time with polyglot,
// the built-in mate solver and the search.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/engine_process.h"

namespace {

using test_support::ReadLines;
using test_support::RunEngine;
using test_support::TempDir;
using Strings = std::vector<std::string>;

// Every game opens 1.d4, which the search (e2e4 from the start) never plays.
constexpr const char* kOpeningsPgn =
    "[Event \"a\"]\n[Result \"1-0\"]\n\n1. d4 d5 2. c4 e6 1-0\n\n"
    "[Event \"b\"]\n[Result \"1-0\"]\n\n1. d4 Nf6 2. c4 g6 1-0\n\n"
    "[Event \"c\"]\n[Result \"1/2-1/2\"]\n\n1. d4 d5 2. Nf3 Nf6 1/2-1/2\n";

void MakeBook(const TempDir& dir, const std::string& name) {
  const std::string pgn = dir.File("openings.pgn");
  std::ofstream(pgn) << kOpeningsPgn;
  int status = -1;
  test_support::RunShell(test_support::GamesProgram("polyglot") + " make-book -pgn " + pgn + " -bin " +
                             dir.File(name) + " -min-game 1 >/dev/null 2>&1",
                         &status);
  ASSERT_EQ(status, 0);
  std::filesystem::remove(pgn);
}

// The log's lines from the fixed tags on, without the start line's time.
Strings Log(const TempDir& dir) {
  Strings lines = ReadLines(dir.path() / "brindlet.log");
  if (!lines.empty()) lines.erase(lines.begin());
  return lines;
}

std::string Tag(const std::string& command) { return "brindlet __FB_MAINPROC__ (32) [" + command + "]"; }

TEST(MoveSelection, BookAnswersUntilItsFirstMissAndIsNeverAskedAgain) {
  TempDir dir;
  MakeBook(dir, "tourbook.bin");
  const std::string out = RunEngine(dir.path(),
                                    "position startpos\ngo\n"
                                    "position startpos moves d2d4 d7d5\ngo\n"
                                    "position startpos moves e2e4\ngo\n"
                                    "ucinewgame\nposition startpos\ngo\nquit\n");
  EXPECT_EQ(out,
            "info BookMove\nbestmove d2d4\n"
            "info BookMove\nbestmove c2c4\n"
            "info BestMove\nbestmove e7e5\n"
            "info BestMove\nbestmove e2e4\n");
  EXPECT_EQ(Log(dir), (Strings{"brindlet __FB_MAINPROC__ (22) [book loaded]",
                               Tag("position startpos"), Tag("go"), "brindlet GETMOVE (91) [BookMove]",
                               Tag("position startpos moves d2d4 d7d5"), Tag("go"),
                               "brindlet GETMOVE (91) [BookMove]",
                               Tag("position startpos moves e2e4"), Tag("go"), "brindlet GETMOVE (111) [BestMove]",
                               Tag("ucinewgame"), Tag("position startpos"), Tag("go"),
                               "brindlet GETMOVE (111) [BestMove]", Tag("quit")}));
}

TEST(MoveSelection, MainBookAloneIsEnoughAndTourBookIsAskedFirst) {
  TempDir mainOnly;
  MakeBook(mainOnly, "mainbook.bin");
  EXPECT_EQ(RunEngine(mainOnly.path(), "go\nquit\n"), "info BookMove\nbestmove d2d4\n");

  TempDir both;
  MakeBook(both, "mainbook.bin");
  std::ofstream(both.File("tour.pgn")) << "[Event \"t\"]\n[Result \"1-0\"]\n\n1. c4 e5 1-0\n";
  test_support::RunShell(test_support::GamesProgram("polyglot") + " make-book -pgn " + both.File("tour.pgn") +
                         " -bin " + both.File("tourbook.bin") + " -min-game 1 >/dev/null 2>&1");
  EXPECT_EQ(RunEngine(both.path(), "go\nquit\n"), "info BookMove\nbestmove c2c4\n");
}

TEST(MoveSelection, WithoutBooksOrWithBrokenBooksTheSolverAndSearchAnswer) {
  // Missing, a size that is no whole number of entries, and keys out of order.
  const std::string unsorted = std::string(16, '\xff') + std::string(16, '\0');
  for (const std::string& content : {std::string(), std::string(17, 'x'), unsorted}) {
    TempDir dir;
    if (!content.empty()) {
      std::ofstream(dir.File("tourbook.bin"), std::ios::binary) << content;
      std::ofstream(dir.File("mainbook.bin"), std::ios::binary) << content;
    }
    EXPECT_EQ(RunEngine(dir.path(), "go\nquit\n"), "info BestMove\nbestmove e2e4\n");
    const Strings log = Log(dir);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log[0], Tag("go"));  // no "book loaded" line
  }
}

// Mates in 1, 2 and 3 moves: the solver is asked for up to three. The mate in 3 has no
// mate in 2 (stockfish's "go mate 2" finds none), and d4g4 mates in 3 (stockfish: mate -2
// for black after it).
TEST(MoveSelection, MateSolverAnswersBeforeTheSearch) {
  TempDir dir;
  const std::string out = RunEngine(
      dir.path(),
      "position fen r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4\ngo\n"
      "position fen r2qkb1r/pp2nppp/3p4/2pNN1B1/2BnP3/3P4/PPP2PPP/R2bK2R w KQkq - 1 1\ngo\n"
      "position fen r2q1rk1/p4p1p/3p1Q2/2n3B1/B2R4/8/PP3PPP/5bK1 w - - 1 1\ngo\nquit\n");
  EXPECT_EQ(out,
            "info SolveMate\nbestmove h5f7\ninfo SolveMate\nbestmove d5f6\n"
            "info SolveMate\nbestmove d4g4\n");
  const Strings log = Log(dir);
  ASSERT_EQ(log.size(), 10u);
  for (const std::size_t line : {2u, 5u, 8u}) EXPECT_EQ(log[line], "brindlet GETMOVE (102) [SolveMate]") << line;
}

TEST(MoveSelection, PositionsWithoutAMoveAreReportedAsSearchAnswers) {
  TempDir dir;
  // Checkmated, stalemated, and a stalemate in which no piece has any move at all.
  const std::string out = RunEngine(dir.path(),
                                    "position fen 7k/6Q1/6K1/8/8/8/8/8 b - - 0 1\ngo\n"
                                    "position fen 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1\ngo\n"
                                    "position fen k7/p1K5/P7/8/8/8/8/8 b - - 0 1\ngo\nquit\n");
  EXPECT_EQ(out,
            "info BestMove\nbestmove a1a1\n"
            "info BestMove\nbestmove a1a1\n"
            "info BestMove\nbestmove a1a1\n");
  EXPECT_EQ(Log(dir)[2], "brindlet GETMOVE (111) [BestMove]");
}

TEST(MoveSelection, PromotionsCarryTheirLetter) {
  TempDir dir;
  const std::string out = RunEngine(dir.path(), "position fen 8/4P3/8/8/8/8/k7/6K1 w - - 0 1\ngo\nquit\n");
  EXPECT_EQ(out, "info BestMove\nbestmove e7e8q\n");
}

}  // namespace
