// Perft of well-known positions against stockfish's own count, move by move.
#include <gtest/gtest.h>

#include "rules/rules.h"
#include "tests/rules/stockfish_oracle.h"

namespace {

struct PerftCase {
  const char* name;
  const char* fen;
  int depth;
  std::uint64_t nodes;  // the well-known figure, so a broken oracle cannot hide a fault
};

// Depths chosen to run in well under a second each.
const PerftCase kQuickCases[] = {
    {"StartPosition", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 4, 197281},
    {"Kiwipete", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 3, 97862},
    {"EnPassantRookEndgame", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 5, 674624},
    {"PromotionsAndCastling", "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 4, 422333},
    {"PromotionsAndCastlingMirrored", "r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ - 0 1", 4, 422333},
    {"KnightPromotionCheck", "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 3, 62379},
    {"QuietMiddlegame", "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10", 3, 89890},
    {"EnPassantDiscoversCheck", "8/8/8/8/k2Pp2Q/8/8/3K4 b - d3 0 1", 4, 0},
    {"EnPassantPinnedOnRank", "8/8/8/8/1k1Pp2R/8/8/4K3 b - d3 0 1", 4, 0},
    {"CastlingThroughAttack", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", 3, 13744},
    {"UnderpromotionRace", "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1", 4, 182838},
    {"EnPassantEvadesCheck", "8/8/8/2k5/3Pp3/8/8/4K3 b - d3 0 1", 4, 0},
    {"CastlingRookAttackedOnly", "1r2k2r/8/8/8/8/8/8/R3K2R w KQk - 0 1", 3, 0},
};

class PerftTest : public testing::TestWithParam<PerftCase> {};

TEST_P(PerftTest, MatchesStockfishMoveByMove) {
  const PerftCase& c = GetParam();
  std::optional<rules::Position> position = rules::Position::FromFen(c.fen);
  ASSERT_TRUE(position.has_value());
  const rules_test::PerftDivide oracle = rules_test::StockfishPerft(c.fen, c.depth);
  ASSERT_GT(oracle.total, 0u) << "stockfish gave no count";
  if (c.nodes != 0) {
    EXPECT_EQ(oracle.total, c.nodes);
  }

  rules::MoveList moves;
  rules::GenerateLegalMoves(*position, moves);
  ASSERT_EQ(static_cast<std::size_t>(moves.Size()), oracle.perMove.size());
  std::uint64_t total = 0;
  rules::UndoInfo undo;
  for (rules::Move move : moves) {
    const std::string text(rules::ToUci(move).view());
    position->MakeMove(move, undo);
    const std::uint64_t count = rules::Perft(*position, c.depth - 1);
    position->UnmakeMove(move, undo);
    total += count;
    ASSERT_TRUE(oracle.perMove.contains(text)) << text << " is not legal";
    EXPECT_EQ(count, oracle.perMove.at(text)) << text;
  }
  EXPECT_EQ(total, oracle.total);
  EXPECT_EQ(rules::Perft(*position, c.depth), oracle.total) << "make/unmake left the position changed";
}

INSTANTIATE_TEST_SUITE_P(WellKnown, PerftTest, testing::ValuesIn(kQuickCases),
                         [](const testing::TestParamInfo<PerftCase>& info) { return std::string(info.param.name); });

}  // namespace
