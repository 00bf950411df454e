// brindlet-tool perft prints the same divide as stockfish and refuses bad arguments.
#include <gtest/gtest.h>

#include "tests/rules/stockfish_oracle.h"
#include "tests/support/engine_process.h"

namespace {

std::string Tool(const std::string& arguments, int* status) {
  return test_support::RunShell(test_support::ToolCommand() + " perft " + arguments + " 2>/dev/null", status);
}

TEST(PerftToolTest, DivideMatchesStockfish) {
  const std::string fen = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1";
  int status = -1;
  const std::string output = Tool("'" + fen + "' 3", &status);
  EXPECT_EQ(status, 0);
  const rules_test::PerftDivide ours = rules_test::ParseDivide(output);
  const rules_test::PerftDivide oracle = rules_test::StockfishPerft(fen, 3);
  EXPECT_EQ(ours.perMove, oracle.perMove);
  EXPECT_EQ(ours.total, 97862u);
  EXPECT_NE(output.find("\nNodes searched: 97862\n"), std::string::npos);
}

TEST(PerftToolTest, RefusesBadArguments) {
  const char* const bad[] = {"", "'8/8/8/8/8/8/8/8 w - - 0 1' 1", "startpos 1", "'4k3/8/8/8/8/8/8/4K3 w - - 0 1' 0",
                             "'4k3/8/8/8/8/8/8/4K3 w - - 0 1' x", "'4k3/8/8/8/8/8/8/4K3 w - - 0 1' 99"};
  for (const char* arguments : bad) {
    int status = 0;
    const std::string output = Tool(arguments, &status);
    EXPECT_NE(status, 0) << arguments;
    EXPECT_EQ(output.find("Nodes searched"), std::string::npos) << arguments;
  }
}

// A last rank of seven squares is not a placement: the tool must not count moves in it.
TEST(PerftToolTest, RefusesALastRankOfSevenSquares) {
  int status = 0;
  const std::string output = test_support::RunShell(
      test_support::ToolCommand() + " perft 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBN w Qkq - 0 1' 1 2>&1", &status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(output, "brindlet-tool perft: not a usable FEN\n");
}

}  // namespace
