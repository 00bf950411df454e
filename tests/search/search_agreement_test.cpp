#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "literal_search.h"
#include "position_text.h"
#include "search/search.h"

namespace {

using search::SearchContext;

// Runs both searches on the same FEN and compares value, root scores and the
// number of moves tried (which shows the same cut-offs everywhere in the tree).
void ExpectAgreement(const std::string& fen) {
  static SearchContext fast;
  static SearchContext literal;
  for (SearchContext* context : {&fast, &literal}) {
    search::InitSearchContext(*context);
    search::LoadSearchContext(*context, fen);
  }
  const int side = fast.root.sideToMove;
  const int16_t fastBest = search::Search(fast, fast.root, side, 1, 32000);
  const int16_t literalBest = search_test::LiteralSearch(literal, literal.root, side, 1, 32000);
  ASSERT_EQ(fastBest, literalBest) << fen;
  ASSERT_EQ(fast.movesTried, literal.movesTried) << fen;
  ASSERT_EQ(fast.root.moveCount, literal.root.moveCount) << fen;
  for (int i = 0; i < fast.root.moveCount; ++i) {
    ASSERT_EQ(fast.root.moves[i].from, literal.root.moves[i].from) << fen;
    ASSERT_EQ(fast.root.moves[i].to, literal.root.moves[i].to) << fen;
    ASSERT_EQ(fast.root.moves[i].score, literal.root.moves[i].score) << fen << " move " << i;
  }
}

TEST(SearchAgreement, RealPositions) {
  for (const std::string& fen : search_test::RealPositions(101)) ExpectAgreement(fen);
}

TEST(SearchAgreement, CastlingEnPassantPromotionAndLostKings) {
  const char* fens[] = {
      "r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R w KQkq - 0 1",
      "r3k2r/p1pp1ppp/8/1p2p3/4P3/8/PP1P1PPP/R3K2R w KQkq b6 0 6",
      "r3k2r/8/8/8/8/8/4p3/R3K2R w KQkq - 0 1",
      "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 2",
      "4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 2",
      "1r2k3/P6P/8/8/8/8/p6p/1R2K3 w - - 0 1",
      "1r2k3/P6P/8/8/8/8/p6p/1R2K3 b - - 0 1",
      "kp6/1P6/1K6/8/8/8/8/7R w - - 0 1",
      "3q3k/8/8/8/8/8/8/K2Q4 w - - 0 1",
      "4k3/8/8/8/8/8/3q4/4K3 w - - 0 1",                       // in check from a queen
      "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1",
      "QQQ1k3/8/8/3Q4/8/Q4Q2/8/R3K2R w KQ - 0 1",               // over 80 moves
      "1q6/3k4/2q5/3q4/3q4/4Bb2/6n1/4K2R w K - 0 20",           // over 80 enemy moves
      "q7/3q4/5k2/3q4/8/1q6/6b1/R3K2R w K - 0 20",
      "1k6/2q1qn1r/8/7R/q2q1q2/3PB3/5P2/4K2R w K - 0 30",
      "r3k2r/2Q5/8/8/8/8/8/R3K2R b KQkq - 0 1",
      "4k3/8/8/8/8/8/8/4K3 w - - 0 1",
  };
  for (const char* fen : fens) ExpectAgreement(fen);
}

}  // namespace
