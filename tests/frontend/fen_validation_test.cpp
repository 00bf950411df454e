#include "frontend/fen_validation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using frontend::IsValidFEN;
TEST(RankSquareCount, LettersCountOneOtherBytesTheirCodeMinus48) {
  EXPECT_EQ(frontend::RankSquareCount("44"), 8);
  EXPECT_EQ(frontend::RankSquareCount("1111pppp"), 8);
  EXPECT_EQ(frontend::RankSquareCount("ppppppppp"), 9);
  EXPECT_EQ(frontend::RankSquareCount("/"), -1);
  EXPECT_EQ(frontend::RankSquareCount(""), 0);
}

TEST(IsValidFEN, AcceptsAndRefuses) {
  const std::string start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
  const auto with = [](std::string placement, std::string rest = "w - - 0 1") { return placement + " " + rest; };
  struct Case {
    std::string fen;
    bool valid;
  };
  const Case cases[] = {
      {start, true},
      {"8/8/8/8/8/8/8/8 w - - 0 1", false},
      {with("4k3/8/8/8/8/8/8/8"), false},
      {with("4K3/8/8/8/8/8/8/8"), false},
      {with("4k3/44/1111pppp/8/8/8/8/4K3"), true},
      {with("4k3/9/8/8/8/8/8/4K3"), false},
      {with("4k3/0/8/8/8/8/8/4K3"), false},
      {with("4k3/ppppppppp/8/8/8/8/8/4K3"), false},
      {with("4k3/7/8/8/8/8/8/4K3"), false},
      {with("4k3/8/8/8/8/8/8/4K3/"), true},
      {with("4k3/8/8/8/8/8/8/4K3//"), true},
      {with("4k3/8/8/8/8/8/8/4K3///"), false},
      {with("4k3/8/8/8/8/8/8/4KK2"), true},
      {with("4k3/8/8/8/8/8/8/P3K3"), true},
      {start + " ", true},
      {start + "  ", true},
      {start + "   ", false},
      {" " + start, false},
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR  w KQkq - 0 1", false},
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR\tw KQkq - 0 1", false},
      {with("4k3/8/8/8/8/8/8/4K3", "w KQkqKQ - 0 1"), true},
      {with("4k3/8/8/8/8/8/8/4K3", "w qk - 0 1"), true},
      {with("4k3/8/8/8/8/8/8/4K3", "w KQ- - 0 1"), false},
      {with("4k3/8/8/8/8/8/8/4K3", "b - e3 0 1"), true},
      {with("4k3/8/8/8/8/8/8/4K3", "w - d6 0 1"), true},
      {with("4k3/8/8/8/8/8/8/4K3", "w - e4 0 1"), false},
      {with("4k3/8/8/8/8/8/8/4K3", "w - - 00 1"), true},
      {with("4k3/8/8/8/8/8/8/4K3", "w - - 0 0"), false},
      {with("4k3/8/8/8/8/8/8/4K3", "w - - 0 01"), false},
      {with("4k3/8/8/8/8/8/8/4K3", "W - - 0 1"), false},
      {with("4k3/8/8/8/8/8/8/4K3", "w - - 0 99999999999999999999"), true},
      {"", false},
      {std::string(100000, '8'), false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsValidFEN(c.fen), c.valid) << '"' << c.fen << '"';
}

}  // namespace
