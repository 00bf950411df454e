#include <gtest/gtest.h>

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

}  // namespace
