#include <gtest/gtest.h>

#include <string>

#include "position_text.h"
#include "search/search.h"

namespace {

// Searches `fen` from its root and returns the root value; the context keeps the scores.
int16_t SearchFen(search::SearchContext& context, const std::string& fen) {
  search::InitSearchContext(context);
  search::LoadSearchContext(context, fen);
  return search::Search(context, context.root, context.root.sideToMove, 1, 32000);
}

int ScoreOf(const search::SearchContext& context, const std::string& move) {
  const auto texts = search_test::MoveTexts(context.root);
  for (size_t i = 0; i < texts.size(); ++i)
    if (texts[i] == move) return context.root.moves[i].score;
  ADD_FAILURE() << move << " not generated";
  return 0;
}

TEST(Search, QueenTakesQueenScoresNineteenAndNothingElseGains) {
  static search::SearchContext context;
  EXPECT_EQ(SearchFen(context, "3q3k/8/8/8/8/8/8/K2Q4 w - - 0 1"), 19);
  const auto texts = search_test::MoveTexts(context.root);
  for (size_t i = 0; i < texts.size(); ++i) {
    if (texts[i] == "d1d8")
      EXPECT_EQ(context.root.moves[i].score, 19);
    else
      EXPECT_LE(context.root.moves[i].score, 0) << texts[i];
  }
}

TEST(Search, ANodeWithoutMovesTakesItsOpeningValue) {
  static search::SearchContext context;
  // After a quiet white move black (king a8, pawn b8 wedged by b7) has no move:
  // a minimising node without moves is worth +32000.
  EXPECT_EQ(SearchFen(context, "kp6/1P6/1K6/8/8/8/8/7R w - - 0 1"), 32000);
  EXPECT_EQ(ScoreOf(context, "h1h2"), 32000);
  // A maximising one is worth -32000: the mated king's only step loses it.
  EXPECT_EQ(SearchFen(context, "7k/6Q1/6K1/8/8/8/8/8 b - - 0 1"), -32000);
  EXPECT_EQ(ScoreOf(context, "h8g8"), -32000);
  // The root without a generated move returns -32000 and tries nothing.
  EXPECT_EQ(SearchFen(context, "k7/p1K5/P7/8/8/8/8/8 b - - 0 1"), -32000);
  EXPECT_EQ(context.root.moveCount, 0);
  EXPECT_EQ(context.movesTried, 0u);
}

}  // namespace
