// Deeper perft runs with the published totals: minutes under sanitizers, so labelled slow.
#include <gtest/gtest.h>

#include "rules/rules.h"

namespace {

struct DeepCase {
  const char* name;
  const char* fen;
  int depth;
  std::uint64_t nodes;
};

const DeepCase kDeepCases[] = {
    {"StartPosition", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 6, 119060324},
    {"Kiwipete", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 5, 193690690},
    {"EnPassantRookEndgame", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 7, 178633661},
    {"PromotionsAndCastling", "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 5, 15833292},
    {"KnightPromotionCheck", "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 5, 89941194},
    {"QuietMiddlegame", "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10", 5, 164075551},
};

class PerftDeepTest : public testing::TestWithParam<DeepCase> {};

TEST_P(PerftDeepTest, MatchesPublishedTotal) {
  const DeepCase& c = GetParam();
  std::optional<rules::Position> position = rules::Position::FromFen(c.fen);
  ASSERT_TRUE(position.has_value());
  EXPECT_EQ(rules::Perft(*position, c.depth), c.nodes);
}

INSTANTIATE_TEST_SUITE_P(Published, PerftDeepTest, testing::ValuesIn(kDeepCases),
                         [](const testing::TestParamInfo<DeepCase>& info) { return std::string(info.param.name); });

}  // namespace
