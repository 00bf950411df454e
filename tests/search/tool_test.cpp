#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/support/engine_process.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Tool(const std::string& arguments, int* status = nullptr) {
  return test_support::RunShell(test_support::ToolCommand() + " " + arguments, status);
}

TEST(BestTool, PrintsTheAnswerAndEveryRootMove) {
  int status = -1;
  const auto lines = Lines(Tool("best 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1'", &status));
  EXPECT_EQ(status, 0);
  ASSERT_EQ(lines.size(), 21u);
  EXPECT_EQ(lines[0].rfind("bestmove e2e4 code 0 nodes ", 0), 0u) << lines[0];
  EXPECT_NE(lines[0].find(" ms "), std::string::npos);
  EXPECT_EQ(lines[1], "a2a3 0 26");
  EXPECT_EQ(lines[12], "e2e4 0 37");
  EXPECT_EQ(lines[20], "h2h4 0 28");
}

TEST(BestTool, NonCandidatesShowADash) {
  const auto lines = Lines(Tool("best '8/1k6/4q3/2q4q/8/3q2P1/1P6/7K w - - 0 50'"));
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0].rfind("bestmove h1g2 code 0 ", 0), 0u) << lines[0];
  int candidates = 0;
  for (size_t i = 1; i < lines.size(); ++i) {
    if (lines[i].back() != '-') {
      ++candidates;
      EXPECT_EQ(lines[i].rfind("h1g2 ", 0), 0u) << lines[i];
    }
  }
  EXPECT_EQ(candidates, 1);
}

// The node total over the bench suite is the search's signature: it moves only
// when some result of the search moves. Update it only for an intended change.
TEST(BenchTool, NodeTotalStaysWhatItWas) {
  int status = -1;
  const std::string output = Tool("bench", &status);
  EXPECT_EQ(status, 0);
  EXPECT_NE(output.find("positions 120\n"), std::string::npos);
  EXPECT_NE(output.find("total nodes 11439369\n"), std::string::npos) << output.substr(output.rfind("positions"));
  EXPECT_NE(output.find("nodes per second "), std::string::npos);
}

}  // namespace
