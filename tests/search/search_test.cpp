#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "position_text.h"
#include "search/search.h"

namespace {

using search::SearchContext;
using search_test::MoveTexts;

struct Searched {
  SearchContext context;
  int16_t best;
};

void SearchFen(Searched& s, const std::string& fen) {
  search::InitSearchContext(s.context);
  search::LoadSearchContext(s.context, fen);
  s.best = search::Search(s.context, s.context.root, s.context.root.sideToMove, 1, 32000);
}

int ScoreOf(const SearchContext& context, const std::string& move) {
  const auto texts = MoveTexts(context.root);
  for (size_t i = 0; i < texts.size(); ++i)
    if (texts[i] == move) return context.root.moves[i].score;
  ADD_FAILURE() << move << " not generated";
  return 0;
}

TEST(Search, QueenTakesQueenScoresNineteen) {
  static Searched s;
  SearchFen(s, "3q3k/8/8/8/8/8/8/K2Q4 w - - 0 1");
  EXPECT_EQ(s.best, 19);
  EXPECT_EQ(ScoreOf(s.context, "d1d8"), 19);
  for (int i = 0; i < s.context.root.moveCount; ++i) {
    if (MoveTexts(s.context.root)[i] != "d1d8") EXPECT_LE(s.context.root.moves[i].score, 0);
  }
}

TEST(Search, EqualScoresNeitherReplaceNorCutOff) {
  // Every move of the start position keeps the balance, so no move is cut short.
  static Searched s;
  SearchFen(s, "");
  EXPECT_EQ(s.best, 0);
  ASSERT_EQ(s.context.root.moveCount, 20);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(s.context.root.moves[i].score, 0);
}

TEST(Search, ANodeWithoutMovesTakesItsOpeningValue) {
  // After any quiet white move black (king a8, pawn b8 wedged by b7) has no move:
  // a minimising node without moves is worth +32000.
  static Searched s;
  SearchFen(s, "kp6/1P6/1K6/8/8/8/8/7R w - - 0 1");
  EXPECT_EQ(s.best, 32000);
  EXPECT_EQ(ScoreOf(s.context, "h1h2"), 32000);
  // A maximising node without moves is worth -32000: the mated king's only step.
  SearchFen(s, "7k/6Q1/6K1/8/8/8/8/8 b - - 0 1");
  EXPECT_EQ(s.best, -32000);
  EXPECT_EQ(ScoreOf(s.context, "h8g8"), -32000);
  // The root without any generated move returns -32000 and writes no score.
  SearchFen(s, "k7/p1K5/P7/8/8/8/8/8 b - - 0 1");
  EXPECT_EQ(s.best, -32000);
  EXPECT_EQ(s.context.root.moveCount, 0);
  EXPECT_EQ(s.context.movesTried, 0u);
}

TEST(Search, LeavesTheRootAsLoaded) {
  static Searched s;
  const char* fens[] = {"", "r3k2r/pppq1ppp/2n2n2/3pp3/3PP3/2N2N2/PPPQ1PPP/R3K2R w KQkq d6 0 8",
                        "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 2"};
  for (const char* fen : fens) {
    SCOPED_TRACE(fen);
    SearchFen(s, fen);
    search::SearchPosition loaded = search_test::Load(fen);
    std::memcpy(loaded.castlePathSafe, s.context.root.castlePathSafe, 4);
    EXPECT_EQ(std::memcmp(&loaded, &s.context.root, search::kPositionStateBytes), 0);
  }
}

TEST(Search, EnPassantAndCastlingCountAsQuiet) {
  // At depth 3 an en-passant capture is a leaf, unlike a capture onto a piece:
  // the tree below e5d6 here is no larger than below a quiet pawn move.
  static Searched s;
  SearchFen(s, "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 2");
  EXPECT_EQ(ScoreOf(s.context, "e5d6"), 2);
}

}  // namespace
