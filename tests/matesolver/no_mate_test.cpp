// Real positions without a mate in three: the solver finds no move, and the
// exhaustive search agrees. A sample here; the slow suite takes all of them.
#include <gtest/gtest.h>

#include "matesolver/mate_solver.h"
#include "tests/matesolver/exhaustive_mate.h"

namespace {

TEST(NoMateTest, RealPositionsGiveTheEmptyText) {
  const std::vector<std::string> fens = matesolver_test::ReadFens("no_mate.txt");
  ASSERT_GE(fens.size(), 1000u);
  for (std::size_t i = 0; i < fens.size(); ++i) {
    EXPECT_EQ(matesolver::FindMateMove(fens[i], 3), std::nullopt) << fens[i];
    if (i % 20 == 0) {
      auto position = rules::Position::FromFen(fens[i]);
      ASSERT_TRUE(position.has_value()) << fens[i];
      EXPECT_FALSE(matesolver_test::AttackerForcesMate(*position, 3)) << "missed mate: " << fens[i];
    }
  }
}

}  // namespace
