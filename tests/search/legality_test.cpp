#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "search/best_move.h"
#include "tests/support/engine_process.h"

namespace {

using test_support::EngineProcess;

// Debian's stockfish lists the legal moves of a position with "go perft 1".
class LegalMoveOracle {
 public:
  LegalMoveOracle() : process_(".", {test_support::GamesProgram("stockfish")}) {}

  std::set<std::string> LegalMoves(const std::string& fen) {
    process_.Write("position fen " + fen + "\ngo perft 1\n");
    std::set<std::string> moves;
    while (auto line = process_.ReadLine()) {
      std::string text = *line;
      while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
      if (text.rfind("Nodes searched", 0) == 0) return moves;
      const size_t colon = text.find(':');
      if (colon != std::string::npos && colon >= 4 && colon <= 5) moves.insert(text.substr(0, colon));
    }
    ADD_FAILURE() << "stockfish stopped answering on " << fen;
    return moves;
  }

 private:
  EngineProcess process_;
};

// Every 25th distinct position of the recorded games, the last position of
// every game (the mates and draws among them), and the composed mate puzzles,
// rich in checks, pins and promotions.
std::vector<std::string> Positions() {
  std::vector<std::string> fens;
  std::ifstream positions(std::string(BRINDLET_TEST_DATA) + "/games/positions.txt");
  int n = 0;
  for (std::string line; std::getline(positions, line); ++n)
    if (n % 25 == 0 && !line.empty()) fens.push_back(line);
  std::ifstream trace(std::string(BRINDLET_TEST_DATA) + "/games/trace.txt");
  std::map<std::string, std::string> lastOfGame;
  for (std::string line; std::getline(trace, line);) {
    const size_t first = line.find(' ');
    const size_t second = line.find(' ', first + 1);
    if (second != std::string::npos) lastOfGame[line.substr(0, first)] = line.substr(second + 1);
  }
  for (const auto& [game, fen] : lastOfGame) fens.push_back(fen);
  for (const char* puzzles : {"/matesolver/mate_in_2.txt", "/matesolver/mate_in_3.txt"}) {
    std::ifstream in(std::string(BRINDLET_TEST_DATA) + puzzles);
    for (std::string line; std::getline(in, line);)
      if (!line.empty()) fens.push_back(line);
  }
  return fens;
}

TEST(Legality, EveryAnswerIsLegalAndNullOnlyWithoutLegalMoves) {
  const std::vector<std::string> fens = Positions();
  ASSERT_GE(fens.size(), 1000u);
  LegalMoveOracle oracle;
  int nullAnswers = 0;
  for (const std::string& fen : fens) {
    const std::string answer = search::BestMove(fen);
    const std::set<std::string> legal = oracle.LegalMoves(fen);
    if (answer == "a1a1") {
      ++nullAnswers;
      EXPECT_TRUE(legal.empty()) << fen;
    } else {
      EXPECT_TRUE(legal.count(answer)) << fen << " answered " << answer;
    }
  }
  EXPECT_GT(nullAnswers, 0);  // the games' checkmates are among the positions
}

// Through the engine itself: with several enemy queens the opponent has more than 80 moves,
// and an attacker listed after the 80th still forbids castling out of or through check;
// where no enemy move touches the path, castling stays allowed (and is the engine's choice).
TEST(Legality, CastlingThroughTheEngineSeesEveryEnemyMove) {
  const struct {
    const char* fen;
    bool castles;
  } cases[] = {
      {"1q6/3k4/2q5/3q4/3q4/4Bb2/6n1/4K2R w K - 0 20", false},     // in check from g2
      {"q7/3q4/5k2/3q4/8/1q6/6b1/R3K2R w K - 0 20", false},        // f1 attacked from g2
      {"1k6/2q1qn1r/8/7R/q2q1q2/3PB3/5P2/4K2R w K - 0 30", true},  // 93 enemy moves, path free
  };
  for (const auto& c : cases) {
    const std::string command = std::string("position fen ") + c.fen;
    test_support::TempDir dir;
    const std::string out = test_support::RunEngine(dir.path(), command + "\ngo\nquit\n");
    const size_t at = out.rfind("bestmove ");
    ASSERT_NE(at, std::string::npos) << out;
    const std::string answer = out.substr(at + 9, 4);
    const std::vector<std::string> legal = test_support::StockfishLegalMoves(command);
    EXPECT_NE(std::find(legal.begin(), legal.end(), answer), legal.end()) << c.fen << " answered " << answer;
    EXPECT_EQ(std::find(legal.begin(), legal.end(), "e1g1") != legal.end(), c.castles) << c.fen;
    EXPECT_EQ(answer == "e1g1", c.castles) << c.fen << " answered " << answer;
  }
}

}  // namespace
