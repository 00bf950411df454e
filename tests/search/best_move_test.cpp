#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "search/best_move.h"

namespace {

using search::AnalyseBestMove;
using search::BestMove;
using search::BestMoveReport;

int TieBreakOf(const BestMoveReport& report, const std::string& move) {
  for (const auto& line : report.rootMoves)
    if (line.move == move) return line.tieBreak ? *line.tieBreak : 9999;
  ADD_FAILURE() << move << " not a root move";
  return 0;
}

TEST(BestMove, StartPositionTieBreaks) {
  const BestMoveReport report = AnalyseBestMove("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  const std::vector<std::pair<std::string, int>> expected = {
      {"a2a3", 26}, {"a2a4", 28}, {"b1c3", 29}, {"b1a3", 25}, {"b2b3", 28}, {"b2b4", 28}, {"c2c3", 28},
      {"c2c4", 29}, {"d2d3", 34}, {"d2d4", 35}, {"e2e3", 37}, {"e2e4", 37}, {"f2f3", 26}, {"f2f4", 27},
      {"g1h3", 25}, {"g1f3", 29}, {"g2g3", 28}, {"g2g4", 28}, {"h2h3", 26}, {"h2h4", 28}};
  ASSERT_EQ(report.rootMoves.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(report.rootMoves[i].move, expected[i].first);
    EXPECT_EQ(report.rootMoves[i].score, 0);
    EXPECT_EQ(report.rootMoves[i].tieBreak, expected[i].second) << expected[i].first;
  }
  EXPECT_EQ(report.bestMove, "e2e4");
  EXPECT_EQ(report.resultCode, 0);
  EXPECT_EQ(BestMove(""), "e2e4");
}

TEST(BestMove, BlackAnswersE4WithE5) {
  const BestMoveReport report = AnalyseBestMove("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1");
  int candidates = 0;
  for (const auto& line : report.rootMoves) {
    const bool below = line.move == "b7b5" || line.move == "b8a6" || line.move == "f7f5";
    EXPECT_EQ(line.score < 0, below) << line.move;
    EXPECT_EQ(line.tieBreak.has_value(), !below) << line.move;
    candidates += line.tieBreak.has_value();
  }
  EXPECT_EQ(candidates, 17);
  EXPECT_EQ(TieBreakOf(report, "e7e6"), 27);
  EXPECT_EQ(TieBreakOf(report, "e7e5"), 27);
  EXPECT_EQ(report.bestMove, "e7e5");
}

TEST(BestMove, ResultCodes) {
  struct Case {
    const char* fen;
    const char* move;
    int code;
  };
  const Case cases[] = {
      {"3q3k/8/8/8/8/8/8/K2Q4 w - - 0 1", "d1d8", 1},     // takes with check
      {"7k/6Q1/6K1/8/8/8/8/8 b - - 0 1", "a1a1", 3},      // checkmate
      {"7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", "a1a1", 2},      // stalemate
      {"k7/p1K5/P7/8/8/8/8/8 b - - 0 1", "a1a1", 2},      // stalemate without one generated move
      {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", "e1d2", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fen);
    const BestMoveReport report = AnalyseBestMove(c.fen);
    EXPECT_EQ(report.bestMove, c.move);
    EXPECT_EQ(report.resultCode, c.code);
    EXPECT_EQ(BestMove(c.fen), c.move);
  }
}

TEST(BestMove, TieBreakPicksTheLaterOfEqualScores) {
  // e1e2, e1f2 and e1d2 all reach 0, the highest; the last of them wins.
  const BestMoveReport report = AnalyseBestMove("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
  EXPECT_EQ(TieBreakOf(report, "e1e2"), 0);
  EXPECT_EQ(TieBreakOf(report, "e1d1"), -5);
  EXPECT_EQ(TieBreakOf(report, "e1f2"), 0);
  EXPECT_EQ(TieBreakOf(report, "e1d2"), 0);
  EXPECT_EQ(report.bestMove, "e1d2");
}

// Pawn and minor-piece moves are favoured through half-move 31 (black to move in move 16)
// and no longer from half-move 32 (white to move in move 17). Each position, from real
// play near that point, is given both move numbers; its answer changes with them.
TEST(BestMove, OpeningFavourEndsBetweenHalfMoves31And32) {
  struct Case {
    const char* fen;  // without the full-move number
    const char* inMove16;
    const char* inMove17;
  };
  const Case cases[] = {
      {"rn1qkb1r/ppp2ppp/2n1p1b1/8/8/3P2NP/PPP2PP1/R1BQKBNR w KQkq - 2", "c1e3", "d1g4"},
      {"r3kbnr/1p2q1p1/p1npbp2/P1p5/7p/2N1QN1P/1PP1PPP1/R1B1KB1R w KQkq - 1", "b2b3", "e3f4"},
      {"r1b2rk1/1p1nqnpp/2p5/p2p1p2/P2Q1N1P/1P2PNP1/2P2PB1/R3K2R b KQ - 1", "b7b5", "a8a6"},
      {"2kr1b1r/pbpqnp2/1p3n2/3p2p1/P1PPp2p/1P2P2P/1BQ1NPP1/RN2KB1R b KQ - 1", "b7a6", "d7c6"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fen);
    EXPECT_EQ(BestMove(std::string(c.fen) + " 16"), c.inMove16);
    EXPECT_EQ(BestMove(std::string(c.fen) + " 17"), c.inMove17);
  }
}

// Positions where the literal root choice would send no move or an illegal one.
TEST(BestMove, NeverAnswersAMoveIntoCheck) {
  struct Case {
    const char* fen;
    const char* move;
  };
  const Case cases[] = {
      {"6k1/7p/3B1K1P/8/8/8/8/8 b - - 0 1", "g8h8"},             // every move scores -32000
      {"1k6/p2K4/P7/8/2Q2Q2/8/8/8 b - - 0 60", "b8a8"},
      {"8/1k6/4q3/2q4q/8/3q2P1/1P6/7K w - - 0 50", "h1g2"},      // h1h2 walks into the h5 queen
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fen);
    const BestMoveReport report = AnalyseBestMove(c.fen);
    EXPECT_EQ(report.bestMove, c.move);
    EXPECT_LE(report.resultCode, 1);
  }
  // Only the safe moves with the best safe score are candidates.
  const BestMoveReport queens = AnalyseBestMove("8/1k6/4q3/2q4q/8/3q2P1/1P6/7K w - - 0 50");
  for (const auto& line : queens.rootMoves) EXPECT_EQ(line.tieBreak.has_value(), line.move == "h1g2") << line.move;
}

TEST(BestMove, HandTypedFieldsThatContradictTheBoard) {
  EXPECT_NE(BestMove("5k2/8/8/8/8/7P/5K2/8 w K - 0 40"), "e1g1");
  EXPECT_NE(BestMove("4k3/8/8/3Pn3/8/8/8/4K3 w - e6 0 1"), "d5e6");
  const std::string answer = BestMove("4k3/8/8/8/8/8/8/p3K3 b - - 0 1");
  EXPECT_EQ(answer, "e8f7");
  // Castling through a square the e2 pawn attacks is not on offer.
  const BestMoveReport report = AnalyseBestMove("4k3/8/8/8/8/8/4p3/4K2R w K - 0 1");
  for (const auto& line : report.rootMoves) EXPECT_NE(line.move, "e1g1");
}

TEST(BestMove, PromotionCarriesTheQueenLetter) {
  EXPECT_EQ(BestMove("8/P6k/8/8/8/8/8/K7 w - - 0 1"), "a7a8q");
  EXPECT_EQ(BestMove("k7/8/8/8/8/8/7p/K7 b - - 0 1"), "h2h1q");
  // The root list itself keeps four-character texts.
  const BestMoveReport report = AnalyseBestMove("8/P6k/8/8/8/8/8/K7 w - - 0 1");
  EXPECT_EQ(report.rootMoves.back().move, "a7a8");
}

TEST(BestMove, OddInputsGiveAnAnswerOfFourOrFiveCharacters) {
  const std::string inputs[] = {
      "",
      "no blanks",
      "KKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKK w KQkq - 0 1",
      "QQQQQQQQ/QQQQQQQQ/QQQQQQQQ/QQQQQQQQ/qqqqqqqq/qqqqqqqq/qqqqqqqq/qqqqkqqK w - - 0 1",
      "PPPPPPPP/pppppppp/8/8/8/8/PPPPPPPP/ppppkppK w KQkq a3 0 99999999999999999999",
      std::string("\x00\xff rnb\x80 w - - 0 1", 17),
  };
  for (const std::string& fen : inputs) {
    const std::string answer = BestMove(fen);
    EXPECT_TRUE(answer.size() == 4 || answer.size() == 5) << answer;
    EXPECT_EQ(BestMove(fen), answer);
  }
}

}  // namespace
