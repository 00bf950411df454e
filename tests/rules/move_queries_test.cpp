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

// Checks that only the rare moves give: en passant that opens a rank for a
// rook, promotions that check at once, castling that brings the rook's check.
TEST(MoveQueries, GenerateChecksFindsTheRareChecks) {
  struct Case {
    const char* fen;
    const char* check;
  };
  const Case cases[] = {
      {"8/8/8/R2pP2k/8/8/8/4K3 w - d6 0 2", "e5d6"},
      {"8/8/8/4k3/8/8/4p3/K7 b - - 0 1", "e2e1q"},
      {"6k1/3P4/8/8/8/8/8/K7 w - - 0 1", "d7d8r"},
      {"5k2/8/8/8/8/8/8/4K2R w K - 0 1", "e1g1"},
  };
  for (const Case& c : cases) {
    const auto position = rules::Position::FromFen(c.fen);
    ASSERT_TRUE(position.has_value()) << c.fen;
    rules::MoveList checks;
    rules::GenerateChecks(*position, position->ComputeCheckInfo(), checks);
    bool found = false;
    for (rules::Move move : checks) found |= rules::ToUci(move).view() == c.check;
    EXPECT_TRUE(found) << c.fen << " " << c.check;
  }
}

}  // namespace
