// brindlet-tool's FEN check and help, run as a user runs them.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/engine_process.h"

namespace {

std::string Tool(const std::string& arguments, int* status) {
  return test_support::RunShell(test_support::ToolCommand() + " " + arguments + " 2>&1", status);
}

TEST(ToolValid, SaysValidOrInvalidWithTheMatchingExitStatus) {
  int status = -1;
  EXPECT_EQ(Tool("valid 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1'", &status), "valid\n");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(Tool("valid '8/8/8/8/8/8/8/8 w - - 0 1'", &status), "invalid\n");
  EXPECT_EQ(status, 1);
  EXPECT_EQ(Tool("valid ''", &status), "invalid\n");
  EXPECT_EQ(status, 1);
  Tool("valid", &status);
  EXPECT_EQ(status, 2);
}

TEST(ToolHelp, ListsEverySubcommand) {
  int status = -1;
  const std::string help = Tool("help", &status);
  EXPECT_EQ(status, 0);
  for (const char* name : {"valid", "best", "bench", "fen", "perft", "mate", "book", "help"}) {
    EXPECT_NE(help.find(std::string("  ") + name + " "), std::string::npos) << name;
  }
  Tool("no-such-command", &status);
  EXPECT_EQ(status, 2);
}

}  // namespace
