#include "frontend/commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace frontend;
using Strings = std::vector<std::string>;

TEST(CommandTests, EqualityPrefixAndSubstring) {
  EXPECT_TRUE(IsUci("uci"));
  EXPECT_FALSE(IsUci("ucinewgame"));
  EXPECT_FALSE(IsNewGame("uci"));
  EXPECT_TRUE(IsNewGame("ucinewgame"));
  EXPECT_FALSE(IsReady("isready "));
  EXPECT_FALSE(IsReady("Isready"));
  EXPECT_TRUE(IsQuit("quit"));
  EXPECT_FALSE(IsQuit(" quit"));
  EXPECT_TRUE(IsPosition("position"));
  EXPECT_TRUE(IsPosition("positionstartpos"));
  EXPECT_FALSE(IsPosition(" position startpos"));
  EXPECT_FALSE(IsPosition("xposition"));
  EXPECT_TRUE(IsGo("go"));
  EXPECT_TRUE(IsGo("gorilla"));
  EXPECT_FALSE(IsGo("ego"));
  EXPECT_TRUE(HasFen("position startpos moves e2e4 fen"));
  EXPECT_TRUE(HasStartPos("xxstartposxx"));
  EXPECT_TRUE(HasMoves("movesmoves"));
  for (auto test : {IsQuit, IsUci, IsReady, IsNewGame, IsPosition, HasStartPos, HasFen, HasMoves, IsGo}) {
    EXPECT_FALSE(test(""));
  }
}

TEST(FindAllMatches, CollectsNonOverlappingMatchesInOrder) {
  Strings results{"old"};
  EXPECT_EQ(FindAllMatches("a+", "xaayaaa", results, true), 2);
  EXPECT_EQ(results, (Strings{"old", "aa", "aaa"}));
  EXPECT_EQ(FindAllMatches("a+", "xaayaaa", results, false), 2);
  EXPECT_EQ(results, (Strings{"aa", "aaa"}));
  // A pattern that does not compile finds nothing; one that matches empty text stops.
  EXPECT_EQ(FindAllMatches("(", "abc", results, false), 0);
  EXPECT_TRUE(results.empty());
  EXPECT_EQ(FindAllMatches("x*", "abc", results, false), 1);
  EXPECT_EQ(results, Strings{""});
}

TEST(ExtractFen, FindsExactlyOneFenText) {
  struct Case {
    std::string command;
    std::string fen;
  };
  const std::string start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
  const Case cases[] = {
      {"position fen " + start + " moves e2e4", start},
      {"position fen " + start, start},
      {"position fen 8/8/8/8/8/8/8/8 w - -", ""},
      {"position fen rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 0", ""},
      {"position fen 4k3/8/8/8/8/8/8/4K3 b - e3 12 10 moves", "4k3/8/8/8/8/8/8/4K3 b - e3 12 10"},
      {"position fen " + start + " " + start, ""},
      {"position fen 45/8/8/8/8/8/8/8 w - - 0 1", "45/8/8/8/8/8/8/8 w - - 0 1"},
      {"position fen rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR  w KQkq - 0 1", ""},
      {"position fen rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR\tw\tKQkq\t-\t0\t1",
       "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR\tw\tKQkq\t-\t0\t1"},
      {"", ""},
  };
  for (const Case& c : cases) {
    std::string fen = "stale";
    EXPECT_EQ(ExtractFen(c.command, fen), !c.fen.empty()) << c.command;
    EXPECT_EQ(fen, c.fen) << c.command;
  }
}

TEST(ExtractMoves, FindsEveryMoveTextInOrder) {
  struct Case {
    std::string command;
    Strings moves;
  };
  const Case cases[] = {
      {"position startpos moves e2e4 e7e5 g1f3", {"e2e4", "e7e5", "g1f3"}},
      {"position startpos moves a7a8q", {"a7a8q"}},
      {"position startpos moves a7a8qq", {"a7a8qq"}},
      {"position startpos moves a7a8Q", {"a7a8"}},
      {"position startpos moves e2e4e7e5", {"e2e4", "e7e5"}},
      {"position startpos moves i2i4 e9e1 E2E4", {}},
      {"position startpos moves", {}},
  };
  for (const Case& c : cases) {
    Strings moves{"stale"};
    EXPECT_EQ(ExtractMoves(c.command, moves), !c.moves.empty()) << c.command;
    EXPECT_EQ(moves, c.moves) << c.command;
  }
}

}  // namespace
