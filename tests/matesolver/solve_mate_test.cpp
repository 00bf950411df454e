// SolveMate's contract: the answer for special positions, unusable input, modes,
// lengths, the lifetime of the answer, and the node budget.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "matesolver/mate_solver.h"
#include "matesolver/solve_mate.h"
#include "tests/matesolver/exhaustive_mate.h"

namespace {

struct Case {
  const char* name;
  const char* fen;
  int32_t moves;
  const char* answer;  // "*": any move, confirmed by the exhaustive search
  int mateIn;
  const char* playedAs = nullptr;  // the plain FEN of the position, when `fen` takes liberties
};

constexpr const char* kScholarsMate = "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4";

const Case kCases[] = {
    {"Stalemated", "7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", 3, "", 0},
    {"AlreadyCheckmated", "7k/6Q1/6K1/8/8/8/8/8 b - - 0 1", 3, "", 0},
    {"OnlyTheKnightPromotionMates", "6br/5Ppk/6pp/8/8/8/8/K7 w - - 0 1", 3, "f7f8n", 1},
    {"EnPassantMates", "5rbr/7k/7p/4B1pP/5N2/8/8/K7 w - g6 0 1", 3, "h5g6", 1},
    {"MateInOneBesideAStalemate", "7k/8/6K1/8/8/8/8/5Q2 w - - 0 1", 3, "*", 1},
    {"ScholarsMate", "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4", 3, "h5f7", 1},
    {"BlackMatesOnTheFirstRank", "6k1/5ppp/8/8/8/1r6/r7/6K1 b - - 0 1", 3, "b3b1", 1},
    {"BackRankMate", "6k1/5ppp/8/8/8/8/8/R3R1K1 w - - 0 1", 1, "a1a8", 1},
    {"MateInTwoAskedForOne", "r2qkb1r/pp2nppp/3p4/2pNN1B1/2BnP3/3P4/PPP2PPP/R2bK2R w KQkq - 1 0", 1, "", 0},
    {"MateInTwoAskedForTwo", "r2qkb1r/pp2nppp/3p4/2pNN1B1/2BnP3/3P4/PPP2PPP/R2bK2R w KQkq - 1 0", 2, "d5f6", 2},
    {"StartPosition", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 3, "", 0},
    {"KingsOnly", "8/8/3k4/8/8/3K4/8/8 w - - 0 1", 3, "", 0},
    {"OpponentInCheck", "7k/6Q1/6K1/8/8/8/8/8 w - - 0 1", 3, "", 0},
    {"NoBlackKing", "8/8/8/8/8/8/8/4K2Q w - - 0 1", 3, "", 0},
    {"TwoWhiteKings", "7k/8/8/8/8/8/8/K3K2Q w - - 0 1", 3, "", 0},
    {"Garbage", "not a position at all", 3, "", 0},
    {"Empty", "", 3, "", 0},
    {"ZeroMoves", "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4", 0, "", 0},
    {"NegativeMoves", "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4", -7, "", 0},
    // Liberties that the engine's own FEN check lets through.
    {"TwoTrailingBlanks", "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4  ", 3, "h5f7", 1, kScholarsMate},
    {"ThreeTrailingBlanks", "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4   ", 3, "", 0},
    {"TwoSlashesAfterTheLastRank", "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR// w KQkq - 4 4", 3, "h5f7", 1, kScholarsMate},
    {"RepeatedCastlingLetters", "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkqKQ - 4 4", 3, "h5f7", 1, kScholarsMate},
    {"EnPassantSquareOfTheWrongSide", "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq e3 4 4", 3, "h5f7", 1, kScholarsMate},
    {"HugeCounters", "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 123456789 987654321", 3, "h5f7", 1, kScholarsMate},
    {"SevenFields", "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4 4", 3, "", 0},
    {"DashInCastling", "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQ- - 4 4", 3, "", 0},
    {"HugeMovesIsCapped", "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4", INT32_MAX, "h5f7", 1},
};

class SolveMateTest : public testing::TestWithParam<Case> {};

TEST_P(SolveMateTest, Answers) {
  const Case& c = GetParam();
  const std::string answer = SolveMate(c.fen, c.moves, 1);
  if (std::string(c.answer) != "*") {
    EXPECT_EQ(answer, c.answer);
  } else {
    EXPECT_FALSE(answer.empty());
  }
  if (!answer.empty()) {
    const auto position = rules::Position::FromFen(c.playedAs != nullptr ? c.playedAs : c.fen);
    ASSERT_TRUE(position.has_value());
    EXPECT_EQ(matesolver_test::CheckShortestMate(*position, answer, c.mateIn), "");
  }
}

INSTANTIATE_TEST_SUITE_P(Positions, SolveMateTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(SolveMateContractTest, OtherModesAndNullGiveTheEmptyText) {
  const char* fen = "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4";
  EXPECT_STREQ(SolveMate(fen, 3, 1), "h5f7");
  for (int32_t mode : {0, 2, -1, INT32_MIN, INT32_MAX}) EXPECT_STREQ(SolveMate(fen, 3, mode), "") << mode;
  EXPECT_STREQ(SolveMate(nullptr, 3, 1), "");
}

TEST(SolveMateContractTest, AnswerStaysUntilTheNextCallAndRepeats) {
  const char* fen = "6br/5Ppk/6pp/8/8/8/8/K7 w - - 0 1";
  const char* first = SolveMate(fen, 3, 1);
  const std::string kept = first;
  EXPECT_EQ(kept, "f7f8n");
  EXPECT_EQ(std::string(SolveMate(fen, 3, 1)), kept) << "the same position gives the same move";
  EXPECT_STREQ(SolveMate("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 3, 1), "");
}

TEST(SolveMateContractTest, HugeAndBinaryTextsAreRefused) {
  std::string huge(1 << 20, 'k');
  EXPECT_STREQ(SolveMate(huge.c_str(), 3, 1), "");
  std::string binary = "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4";
  for (std::size_t i = 0; i < binary.size(); i += 7) {
    std::string spoiled = binary;
    spoiled[i] = '\x80';
    EXPECT_STREQ(SolveMate(spoiled.c_str(), 3, 1), "") << i;
  }
}

// A budget of n lets a call visit n nodes; the search stops at the node after them.
TEST(NodeBudgetTest, ASpentBudgetReportsNoMate) {
  const auto position = rules::Position::FromFen("r2q1rk1/p4p1p/3p1Q2/2n3B1/B2R4/8/PP3PPP/5bK1 w - - 1 0");
  ASSERT_TRUE(position.has_value());
  const matesolver::MateResult starved = matesolver::FindMate(*position, 3, 500);
  EXPECT_TRUE(starved.budgetExhausted);
  EXPECT_TRUE(starved.move.IsNone());
  EXPECT_EQ(starved.nodes, 501u);
  const matesolver::MateResult full = matesolver::FindMate(*position, 3);
  EXPECT_FALSE(full.budgetExhausted);
  EXPECT_EQ(full.mateIn, 3);
  // Exactly the nodes the mate needs are enough; one fewer is not.
  const matesolver::MateResult exact = matesolver::FindMate(*position, 3, full.nodes);
  EXPECT_FALSE(exact.budgetExhausted);
  EXPECT_EQ(exact.move, full.move);
  const matesolver::MateResult oneShort = matesolver::FindMate(*position, 3, full.nodes - 1);
  EXPECT_TRUE(oneShort.budgetExhausted);
  EXPECT_TRUE(oneShort.move.IsNone());
  EXPECT_EQ(oneShort.nodes, full.nodes);
}

TEST(NodeBudgetTest, AHeavyPositionSpendsTheWholeMillion) {
  // Queens everywhere and the longest length the solver accepts.
  const auto position = rules::Position::FromFen("1q2k1q1/8/8/3q4/8/2Q5/8/Q3K2Q w - - 0 1");
  ASSERT_TRUE(position.has_value());
  const matesolver::MateResult result = matesolver::FindMate(*position, matesolver::kMaxMateMoves);
  EXPECT_TRUE(result.budgetExhausted);
  EXPECT_EQ(result.nodes, 1'000'001u);
}

}  // namespace
