// The single-move legality check and the check generator take shortcuts past
// the full generator; both must answer exactly as the full legal list does.
#include <gtest/gtest.h>

#include <bit>
#include <string>
#include <vector>

#include "rules/rules.h"
#include "tests/support/engine_process.h"

namespace {

std::vector<rules::Position> RealPositionsAndReplies(int step) {
  std::vector<rules::Position> positions;
  const auto lines = test_support::ReadLines(std::string(BRINDLET_TEST_DATA) + "/games/positions.txt");
  for (std::size_t i = 0; i < lines.size(); i += step) {
    const auto position = rules::Position::FromFen(lines[i]);
    if (!position) continue;
    positions.push_back(*position);
    rules::MoveList moves;
    rules::GenerateLegalMoves(*position, moves);
    rules::UndoInfo undo;
    for (rules::Move move : moves) {  // replies: more checks, double checks and pins
      rules::Position child = *position;
      child.MakeMove(move, undo);
      positions.push_back(child);
    }
  }
  return positions;
}

bool Listed(const rules::MoveList& moves, rules::Move move) {
  for (rules::Move listed : moves) {
    if (listed == move) return true;
  }
  return false;
}

TEST(MoveQueries, IsLegalMoveAgreesWithTheLegalList) {
  long asked = 0;
  long inCheck = 0;
  const auto positions = RealPositionsAndReplies(211);
  for (std::size_t n = 0; n < positions.size(); ++n) {
    const rules::Position& position = positions[n];
    rules::MoveList legal;
    rules::GenerateLegalMoves(position, legal);
    inCheck += position.InCheck();
    for (rules::Bitboard own = position.Pieces(position.SideToMove()); own != 0; own &= own - 1) {
      const int from = std::countr_zero(own);
      for (int to = 0; to < 64; ++to) {
        for (const rules::PieceType promotion :
             {rules::kNoPieceType, rules::kQueen, rules::kRook, rules::kBishop, rules::kKnight}) {
          const rules::Move move(from, to, promotion);
          ASSERT_EQ(rules::IsLegalMove(position, move), Listed(legal, move))
              << "position " << n << " " << rules::ToUci(move).view();
          ++asked;
        }
      }
    }
  }
  EXPECT_GT(asked, 1000000);
  EXPECT_GT(inCheck, 100);
}

TEST(MoveQueries, GenerateChecksListsTheCheckingLegalMovesInOrder) {
  long checks = 0;
  const auto positions = RealPositionsAndReplies(97);
  for (std::size_t n = 0; n < positions.size(); ++n) {
    const rules::Position& position = positions[n];
    rules::MoveList legal;
    rules::GenerateLegalMoves(position, legal);
    const rules::CheckInfo info = position.ComputeCheckInfo();
    std::vector<rules::Move> expected;
    for (rules::Move move : legal) {
      if (position.GivesCheck(move)) expected.push_back(move);
    }
    rules::MoveList generated;
    rules::GenerateChecks(position, info, generated);
    std::vector<rules::Move> listed;
    for (rules::Move move : generated) listed.push_back(move);
    ASSERT_EQ(listed, expected) << "position " << n;
    checks += static_cast<long>(expected.size());
  }
  EXPECT_GT(checks, 1000);
}

}  // namespace
