#include "frontend/commands.h"

#include <gtest/gtest.h>

#include <random>
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

// ExtractFen lets a match begin only where a run of rank characters begins (or where the
// search resumes): on FEN texts with a few bytes changed, glued together in any way, it must
// find exactly what the plain pattern finds.
TEST(ExtractFen, RunStartPatternFindsWhatThePlainPatternFinds) {
  const std::string fens[] = {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
                              "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 12", "8/8/8/8/8/8/8/8 b - - 10 1"};
  const std::string bytes = "pP8K1k/ wb-Qq036x\t";
  const std::string glue[] = {"", " ", "x", "fen ", "1", "pp", "/", " moves e2e4 "};
  std::mt19937 random(11);
  const std::string runStarts = frontend::FenPatternFromRunStarts();
  int withMatch = 0;
  int withTwo = 0;
  for (int i = 0; i < 20000; ++i) {
    std::string text = glue[random() % std::size(glue)];
    for (int n = 1 + random() % 3; n > 0; --n) {
      std::string fen = fens[random() % std::size(fens)];
      for (int edits = random() % 3; edits > 0; --edits) {
        const size_t at = random() % fen.size();
        const char byte = bytes[random() % bytes.size()];
        switch (random() % 3) {
          case 0: fen[at] = byte; break;
          case 1: fen.insert(at, 1, byte); break;
          default: fen.erase(at, 1); break;
        }
      }
      text += fen + glue[random() % std::size(glue)];
    }
    Strings plain;
    Strings fromRunStarts;
    const int count = FindAllMatches(frontend::kFenPattern, text, plain, false);
    ASSERT_EQ(FindAllMatches(runStarts, text, fromRunStarts, false), count) << text;
    ASSERT_EQ(fromRunStarts, plain) << text;
    withMatch += count > 0;
    withTwo += count > 1;
  }
  EXPECT_GT(withMatch, 5000);
  EXPECT_GT(withTwo, 1000);
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
