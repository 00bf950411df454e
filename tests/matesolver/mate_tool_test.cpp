// brindlet-tool mate: the move or "none", then nodes and time; bad arguments refused.
#include <gtest/gtest.h>

#include "tests/support/engine_process.h"

namespace {

std::string Tool(const std::string& arguments, int* status) {
  return test_support::RunShell(test_support::ToolCommand() + " mate " + arguments + " 2>/dev/null", status);
}

TEST(MateToolTest, PrintsMoveOrNoneThenFigures) {
  struct Case {
    const char* arguments;
    const char* firstLine;
  };
  const Case cases[] = {
      {"'r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4'", "h5f7\n"},
      {"'r2qkb1r/pp2nppp/3p4/2pNN1B1/2BnP3/3P4/PPP2PPP/R2bK2R w KQkq - 1 0' 1", "none\n"},
      {"'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1' 3", "none\n"},
      {"'6br/5Ppk/6pp/8/8/8/8/K7 w - - 0 1' 2", "f7f8n\n"},
  };
  for (const Case& c : cases) {
    int status = -1;
    const std::string output = Tool(c.arguments, &status);
    EXPECT_EQ(status, 0) << c.arguments;
    EXPECT_EQ(output.substr(0, output.find('\n') + 1), c.firstLine) << c.arguments;
    EXPECT_NE(output.find("\nnodes: "), std::string::npos) << output;
    EXPECT_NE(output.find("\nms: "), std::string::npos) << output;
  }
}

TEST(MateToolTest, RefusesBadArguments) {
  for (const char* arguments : {"", "'8/8/8/8/8/8/8/8 w - - 0 1'", "'7k/6Q1/6K1/8/8/8/8/8 w - - 0 1'",
                                "'4k3/8/8/8/8/8/8/4K3 w - - 0 1' 0", "'4k3/8/8/8/8/8/8/4K3 w - - 0 1' 9"}) {
    int status = 0;
    const std::string output = Tool(arguments, &status);
    EXPECT_NE(status, 0) << arguments;
    EXPECT_EQ(output.find("nodes"), std::string::npos) << arguments;
  }
}

// A last rank of seven squares is not a placement, though Ra8 would mate in the one read.
TEST(MateToolTest, RefusesALastRankOfSevenSquares) {
  int status = 0;
  const std::string output = test_support::RunShell(
      test_support::ToolCommand() + " mate '6k1/5ppp/8/8/8/8/8/R5K w - - 0 1' 1 2>&1", &status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(output, "brindlet-tool mate: not a usable FEN\n");
}

}  // namespace
