// Every position of the puzzle sets and of the real-play sample, each verdict checked
// by the exhaustive search: minutes of work, so these run under the slow label.
#include <gtest/gtest.h>

#include "matesolver/mate_solver.h"
#include "tests/matesolver/exhaustive_mate.h"

namespace {

TEST(PuzzleFullTest, EveryPuzzleHasAConfirmedShortestMate) {
  for (const auto& [file, stipulation] : {std::pair{"mate_in_2.txt", 2}, std::pair{"mate_in_3.txt", 3},
                                          std::pair{"real_play_mates.txt", 3}}) {
    for (const std::string& fen : matesolver_test::ReadFens(file)) {
      const auto position = rules::Position::FromFen(fen);
      ASSERT_TRUE(position.has_value()) << fen;
      const matesolver::MateResult result = matesolver::FindMate(*position, 3);
      ASSERT_FALSE(result.move.IsNone()) << fen;
      ASSERT_LE(result.mateIn, stipulation) << fen;
      EXPECT_EQ(matesolver_test::CheckShortestMate(*position, std::string(rules::ToUci(result.move).view()), result.mateIn), "")
          << fen;
    }
  }
}

TEST(PuzzleFullTest, EveryRealPositionWithoutMateIsConfirmed) {
  const std::vector<std::string> fens = matesolver_test::ReadFens("no_mate.txt");
  ASSERT_GE(fens.size(), 1000u);
  for (const std::string& fen : fens) {
    auto position = rules::Position::FromFen(fen);
    ASSERT_TRUE(position.has_value()) << fen;
    EXPECT_EQ(matesolver::FindMateMove(fen, 3), std::nullopt) << fen;
    EXPECT_FALSE(matesolver_test::AttackerForcesMate(*position, 3)) << "missed mate: " << fen;
  }
}

}  // namespace
