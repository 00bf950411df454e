// Real FENs with characters swapped, dropped and duplicated: every text is either
// refused or gives a position whose moves can all be made and taken back.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "rules/rules.h"
#include "tests/support/engine_process.h"

namespace {

constexpr char kAlphabet[] = "pnbrqkPNBRQK12345678/ wb-KQkqacdefgh0123456789";

TEST(FenMutationTest, MutatedFensAreRefusedOrPlayable) {
  const auto lines = test_support::ReadLines(std::string(BRINDLET_TEST_DATA) + "/games/positions.txt");
  ASSERT_GT(lines.size(), 1000u);
  std::uint64_t state = 12345;
  const auto next = [&state](std::uint64_t bound) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<std::size_t>((state >> 33) % bound);
  };
  int accepted = 0;
  for (int round = 0; round < 4000; ++round) {
    std::string fen = lines[next(lines.size())];
    for (int edits = next(4) == 0 ? 2 : 1; edits > 0; --edits) {
      const std::size_t at = next(fen.size());
      switch (next(3)) {
        case 0: fen[at] = kAlphabet[next(sizeof kAlphabet - 1)]; break;
        case 1: fen.erase(at, 1); break;
        default: fen.insert(at, 1, fen[at]); break;
      }
    }
    auto position = rules::Position::FromFen(fen);
    if (!position) continue;
    ++accepted;
    const std::uint64_t key = position->Key();
    rules::MoveList moves;
    rules::GenerateLegalMoves(*position, moves);
    rules::UndoInfo undo;
    for (rules::Move move : moves) {
      ASSERT_TRUE(rules::IsLegalMove(*position, move)) << fen;
      position->MakeMove(move, undo);
      ASSERT_NE(position->Pieces(position->SideToMove(), rules::kKing), 0u) << fen << " the king was taken";
      EXPECT_FALSE(position->OpponentInCheck()) << fen << " " << rules::ToUci(move).view() << " leaves the king in check";
      EXPECT_GE(rules::Perft(*position, 1), 0u);
      position->UnmakeMove(move, undo);
      ASSERT_EQ(position->Key(), key) << fen << " " << rules::ToUci(move).view();
    }
  }
  EXPECT_GT(accepted, 200) << "the mutations should leave many FENs readable";
}

}  // namespace
