#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "position_text.h"
#include "search/castle_scan.h"
#include "search/move_generation.h"
#include "search/pseudo_moves.h"
#include "tests/search/reference/reference_moves.h"

namespace {

using search::SearchPosition;
using search_test::Load;
using search_test::MoveTexts;
using Texts = std::vector<std::string>;

Texts All(const std::string& fen) {
  SearchPosition position = Load(fen);
  search_reference::GenerateAllMoves(position);
  return MoveTexts(position);
}

bool Contains(const Texts& texts, const std::string& move) {
  for (const std::string& text : texts)
    if (text == move) return true;
  return false;
}

TEST(GenerateMoves, StartPositionInGenerationOrder) {
  const Texts expected = {"a2a3", "a2a4", "b1c3", "b1a3", "b2b3", "b2b4", "c2c3", "c2c4", "d2d3", "d2d4",
                          "e2e3", "e2e4", "f2f3", "f2f4", "g1h3", "g1f3", "g2g3", "g2g4", "h2h3", "h2h4"};
  EXPECT_EQ(All(""), expected);
}

TEST(GenerateMoves, SliderRaysInTableOrder) {
  // Rook: down, up, left, right; each ray ends on the capture or before a friend.
  EXPECT_EQ(All("4k3/8/8/3p4/8/8/3R4/3K4 w - - 0 1"),
            (Texts{"d1c1", "d1e1", "d1e2", "d1c2", "d2d3", "d2d4", "d2d5", "d2c2", "d2b2", "d2a2", "d2e2", "d2f2",
                   "d2g2", "d2h2"}));
  // Bishop: up-right, down-left, down-right, up-left.
  EXPECT_EQ(All("4k3/8/8/8/8/2B5/8/K7 w - - 0 1"),
            (Texts{"a1a2", "a1b1", "a1b2", "c3d4", "c3e5", "c3f6", "c3g7", "c3h8", "c3b2", "c3d2", "c3e1", "c3b4",
                   "c3a5"}));
}

TEST(GenerateMoves, PawnsKnightsAndKingSafety) {
  struct Case {
    const char* fen;
    const char* move;
    bool present;
  };
  const Case cases[] = {
      {"4k3/8/8/8/8/P7/P7/4K3 w - - 0 1", "a2a3", false},     // blocked: no step and no double step
      {"4k3/8/8/8/8/P7/P7/4K3 w - - 0 1", "a2a4", false},
      {"4k3/8/8/8/p7/8/P7/4K3 w - - 0 1", "a2a4", false},     // double step onto a piece
      {"4k3/8/8/8/p7/8/P7/4K3 w - - 0 1", "a2a3", true},
      {"4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 2", "e5d6", true},    // en passant
      {"4k3/8/8/3pP3/8/8/8/4K3 w - - 0 2", "e5d6", false},
      {"4k3/8/8/8/8/8/3p4/4K3 w - - 0 1", "e1e2", true},      // pawn attacks are not looked at
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.fen) + " " + c.move);
    EXPECT_EQ(Contains(All(c.fen), c.move), c.present);
  }
  EXPECT_EQ(All("8/8/8/8/8/4k3/8/4K3 w - - 0 1"), (Texts{"e1d1", "e1f1"}));
  EXPECT_EQ(All("8/P7/8/8/8/8/8/k1K5 w - - 0 1"), (Texts{"a7a8", "c1c2", "c1d1", "c1d2"}));
  EXPECT_EQ(All("8/8/8/8/8/8/3k4/K7 b - - 0 1"),
            (Texts{"d2d1", "d2d3", "d2c2", "d2e2", "d2e3", "d2c1", "d2e1", "d2c3"}));
}

TEST(GenerateMoves, KingCaptureAndKingCaptured) {
  SearchPosition position = Load("8/8/8/8/8/8/4k3/4K3 w - - 0 1");
  search::GenerateMoves(position);
  EXPECT_EQ(MoveTexts(position), (Texts{"e1e2"}));
  position.kingCaptured = -1;
  search::GenerateMoves(position);
  EXPECT_EQ(position.moveCount, 0);

  // Once a king is gone, nothing lists a move onto the one that remains.
  SearchPosition queen = Load("4k3/8/8/8/8/8/8/4Q2K w - - 0 1");
  queen.kingCaptured = -1;
  search::GenerateMoves(queen);
  EXPECT_FALSE(Contains(MoveTexts(queen), "e1e8"));
  EXPECT_TRUE(Contains(MoveTexts(queen), "e1e7"));
}

TEST(GenerateMoves, BlackPawnOnTheFirstRankStaysOnTheBoard) {
  SearchPosition position = Load("4k3/8/8/8/8/8/8/p3K3 b - - 0 1");
  search_reference::GenerateAllMoves(position);
  for (int i = 0; i < position.moveCount; ++i) {
    EXPECT_TRUE(search::IsRealSquare(position.moves[i].to)) << int(position.moves[i].to);
  }
  EXPECT_EQ(MoveTexts(position), (Texts{"e8e7", "e8d8", "e8f8", "e8d7", "e8f7"}));
}

TEST(GenerateMoves, KeepsTheFirstEightyMoves) {
  // Eight queens and castling rights: far more than 80 moves, castling among the lost.
  SearchPosition position = Load("QQQ1k3/8/8/3Q4/8/Q4Q2/8/R3K2R w KQ - 0 1");
  std::vector<std::pair<int, int>> walk;
  search::ForEachPseudoMove(position, [&](int from, int to) {
    walk.emplace_back(from, to);
    return true;
  });
  ASSERT_GT(walk.size(), 80u);
  search_reference::GenerateAllMoves(position);
  ASSERT_EQ(position.moveCount, 80);
  for (int i = 0; i < 80; ++i) {
    EXPECT_EQ(position.moves[i].from, walk[i].first);
    EXPECT_EQ(position.moves[i].to, walk[i].second);
  }
}

// A king's step is refused when any enemy king stands one step from its
// target. Every placement of the white king against one black king, and
// against a second black king too, at the edges and corners included,
// checked against reading the target's neighbours.
TEST(GenerateMoves, KingStepsNextToEnemyKingsOnEveryPlacement) {
  const SearchPosition bare = Load("k7/8/8/8/8/8/8/7K w - - 0 1");
  const auto isReal = [](int square) { return search::IsRealSquare(square); };
  int checked = 0;
  for (const int second : {0, 11, 45, 88, 63}) {
    for (int king = 11; king <= 88; ++king) {
      for (int enemy = 11; enemy <= 88; ++enemy) {
        if (!isReal(king) || !isReal(enemy) || enemy == king || second == king || second == enemy) continue;
        SearchPosition position = bare;
        search::Square(position, 11 + 7) = 0;
        search::Square(position, 81) = 0;
        search::Square(position, king) = search::kKingValue;
        search::Square(position, enemy) = -search::kKingValue;
        if (second != 0) search::Square(position, second) = -search::kKingValue;
        std::vector<int> expected;
        for (int k = 0; k < 8; ++k) {
          const int to = king + search::kQueenOffsets[k];
          if (!isReal(to)) continue;
          bool touches = false;
          for (int k2 = 0; k2 < 8; ++k2)
            touches |= search::Square(position, to + search::kQueenOffsets[k2]) == -search::kKingValue;
          if (!touches) expected.push_back(to);
        }
        std::vector<int> generated;
        search::ForEachPseudoMove(position, [&](int from, int to) {
          EXPECT_EQ(from, king);
          generated.push_back(to);
          return true;
        });
        ASSERT_EQ(generated, expected) << "king " << king << " enemy " << enemy << " second " << second;
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 15000);
}

TEST(Castling, GeneratedLastKingSideFirst) {
  const Texts white = All("r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R w KQkq - 0 1");
  ASSERT_EQ(white.size(), 25u);
  EXPECT_EQ(white[23], "e1g1");
  EXPECT_EQ(white[24], "e1c1");
  const Texts black = All("r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R b KQkq - 0 1");
  ASSERT_EQ(black.size(), 25u);
  EXPECT_EQ(black[23], "e8g8");
  EXPECT_EQ(black[24], "e8c8");
}

TEST(Castling, RefusedByEnemyMovesAndPawnAttacksOnTheBackRank) {
  struct Case {
    const char* fen;
    bool kingSide;
    bool queenSide;
  };
  const Case cases[] = {
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", false, false},  // both rooks take a corner
      {"4k2r/8/8/8/8/8/8/4K2R w K - 0 1", false, false},    // the rook can take on h1
      {"4k3/8/8/8/8/8/4p3/4K2R w K - 0 1", false, false},   // pawn e2 attacks f1
      {"4k3/8/8/8/8/8/6p1/R3K2R w KQ - 0 1", false, true},  // pawn g2 attacks f1 and h1
      {"4k3/8/8/8/8/8/1p6/R3K2R w KQ - 0 1", true, false},  // pawn b2 attacks a1 and c1
      {"4k3/8/8/8/8/8/3p4/R3K2R w KQ - 0 1", false, false}, // pawn d2 attacks e1
      {"4k3/8/8/8/8/8/p7/R3K2R w KQ - 0 1", true, false},   // pawn a2 attacks b1
      {"4k3/8/8/8/8/8/8/R3K1nR w KQ - 0 1", false, true},   // g1 occupied
      {"4k3/8/8/8/8/8/8/1R2K2R w KQ - 0 1", true, false},   // the right needs its rook
      {"r3k2r/8/8/8/8/8/1P6/4K3 b kq - 0 1", true, true},   // white pawn b2 is far away
      {"r3k2r/1P6/8/8/8/8/8/4K3 b kq - 0 1", true, false},  // white pawn b7 attacks a8 and c8
      {"r3k2r/5P2/8/8/8/8/8/4K3 b kq - 0 1", false, false}, // white pawn f7 attacks e8 and g8
      {"r3k2r/8/8/8/8/8/8/4K2B b kq - 0 1", true, false},   // bishop h1 can take the rook on a8
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fen);
    const Texts moves = All(c.fen);
    const bool white = std::string(c.fen).find(" w ") != std::string::npos;
    EXPECT_EQ(Contains(moves, white ? "e1g1" : "e8g8"), c.kingSide);
    EXPECT_EQ(Contains(moves, white ? "e1c1" : "e8c8"), c.queenSide);
  }
}

// With several enemy queens the opponent has more than 80 moves; the attacker of the
// king's square or path can come after the 80th, and must still forbid castling.
TEST(Castling, EveryEnemyMoveCountsBeyondTheEightieth) {
  struct Case {
    const char* fen;
    bool kingSide;
  };
  const Case cases[] = {
      {"1q6/3k4/2q5/3q4/3q4/4Bb2/6n1/4K2R w K - 0 20", false},       // the knight on g2 checks
      {"q7/3q4/5k2/3q4/8/1q6/6b1/R3K2R w K - 0 20", false},          // the bishop on g2 attacks f1
      {"1k6/2q1qn1r/8/7R/q2q1q2/3PB3/5P2/4K2R w K - 0 30", true},    // 93 enemy moves, none near
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fen);
    SearchPosition enemy = Load(c.fen);
    enemy.sideToMove = static_cast<int8_t>(-enemy.sideToMove);
    int enemyMoves = 0;
    search::ForEachPseudoMove(enemy, [&](int, int) { return ++enemyMoves > 0; });
    EXPECT_GT(enemyMoves, 80);
    EXPECT_EQ(Contains(All(c.fen), "e1g1"), c.kingSide);
    SearchPosition quiet = Load(c.fen);
    search::ScanCastlePathsQuietly(quiet, 1);
    EXPECT_EQ(quiet.castlePathSafe[search::kWhiteKingWing] != 0, c.kingSide);
  }
}

}  // namespace
