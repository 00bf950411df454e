// The puzzle sets (mate in 2, mate in 3) and the mates of real play: the solver finds
// a mate no longer than the stipulation, and the exhaustive search confirms that its
// first move forces mate in the length it reports and that nothing shorter exists.
#include <gtest/gtest.h>

#include "matesolver/mate_solver.h"
#include "tests/matesolver/exhaustive_mate.h"

namespace {

struct PuzzleSet {
  const char* file;
  int stipulation;
  std::size_t count;
  int every;  // check every n-th position; the slow suite checks them all
};

void SolveAndConfirm(const PuzzleSet& set) {
  const std::vector<std::string> fens = matesolver_test::ReadFens(set.file);
  ASSERT_EQ(fens.size(), set.count);
  for (std::size_t i = 0; i < fens.size(); i += set.every) {
    const auto position = rules::Position::FromFen(fens[i]);
    ASSERT_TRUE(position.has_value()) << fens[i];
    const matesolver::MateResult result = matesolver::FindMate(*position, 3);
    ASSERT_FALSE(result.move.IsNone()) << "no mate found in " << fens[i];
    ASSERT_GE(result.mateIn, 1);
    ASSERT_LE(result.mateIn, set.stipulation) << fens[i];
    const std::string text(rules::ToUci(result.move).view());
    EXPECT_EQ(matesolver::FindMateMove(fens[i], 3), result.move) << fens[i];
    EXPECT_EQ(matesolver_test::CheckShortestMate(*position, text, result.mateIn), "") << fens[i];
  }
}

class PuzzleTest : public testing::TestWithParam<PuzzleSet> {};
TEST_P(PuzzleTest, FindsAConfirmedShortestMate) { SolveAndConfirm(GetParam()); }

INSTANTIATE_TEST_SUITE_P(Sample, PuzzleTest,
                         testing::Values(PuzzleSet{"mate_in_2.txt", 2, 166, 4}, PuzzleSet{"mate_in_3.txt", 3, 375, 15},
                                         PuzzleSet{"real_play_mates.txt", 3, 850, 10}),
                         [](const testing::TestParamInfo<PuzzleSet>& info) { return "Set" + std::to_string(info.index); });

}  // namespace
