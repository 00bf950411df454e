#include <gtest/gtest.h>

#include <string>

#include "position_text.h"
#include "search/in_check.h"
#include "search/make_move.h"

namespace {

using search::EpSlot;
using search::SearchPosition;
using search::Square;
using search_test::Load;
using search_test::Sq;

SearchPosition Played(const std::string& fen, const char* from, const char* to) {
  SearchPosition position = Load(fen);
  search::MakeMove(position, Sq(from), Sq(to), 19);
  return position;
}

TEST(MakeMove, CastlingMovesKingAndRook) {
  const SearchPosition before = Load("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
  const SearchPosition kingSide = Played("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "e1", "g1");
  EXPECT_EQ(Square(kingSide, Sq("g1")), 126);
  EXPECT_EQ(Square(kingSide, Sq("f1")), 10);
  EXPECT_EQ(Square(kingSide, Sq("e1")), 0);
  EXPECT_EQ(Square(kingSide, Sq("h1")), 0);
  EXPECT_EQ(kingSide.castleRight[0], 0);
  EXPECT_EQ(kingSide.castleRight[1], 0);
  EXPECT_EQ(kingSide.castleRight[2], -1);
  EXPECT_EQ(kingSide.castleRight[3], -1);
  EXPECT_EQ(kingSide.material, before.material);
  EXPECT_EQ(kingSide.sideToMove, -1);
  EXPECT_EQ(kingSide.ply, before.ply + 1);

  const SearchPosition queenSide = Played("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "e1", "c1");
  EXPECT_EQ(Square(queenSide, Sq("c1")), 126);
  EXPECT_EQ(Square(queenSide, Sq("d1")), 10);
  EXPECT_EQ(Square(queenSide, Sq("a1")), 0);
  EXPECT_EQ(Square(queenSide, Sq("e1")), 0);

  const SearchPosition black = Played("r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", "e8", "c8");
  EXPECT_EQ(Square(black, Sq("c8")), -126);
  EXPECT_EQ(Square(black, Sq("d8")), -10);
  EXPECT_EQ(Square(black, Sq("a8")), 0);
  EXPECT_EQ(black.castleRight[0], -1);
  EXPECT_EQ(black.castleRight[2], 0);
  EXPECT_EQ(black.castleRight[3], 0);
}

TEST(MakeMove, EnPassantIsOneMove) {
  const SearchPosition before = Load("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 2");
  const SearchPosition after = Played("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 2", "e5", "d6");
  EXPECT_EQ(Square(after, Sq("d6")), 2);
  EXPECT_EQ(Square(after, Sq("d5")), 0);
  EXPECT_EQ(Square(after, Sq("e5")), 0);
  EXPECT_EQ(after.material, before.material + 2);
  EXPECT_EQ(after.sideToMove, -1);
  EXPECT_EQ(after.ply, before.ply + 1);
  EXPECT_EQ(EpSlot(after, -1), 46);
  EXPECT_EQ(EpSlot(after, 1), 0);

  const SearchPosition blackTakes = Played("4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 2", "d4", "e3");
  EXPECT_EQ(Square(blackTakes, Sq("e3")), -2);
  EXPECT_EQ(Square(blackTakes, Sq("e4")), 0);
  EXPECT_EQ(blackTakes.material, -2);
  EXPECT_EQ(blackTakes.sideToMove, 1);
}

TEST(MakeMove, PromotionAlwaysToTheValueGiven) {
  const SearchPosition white = Played("4k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7", "a8");
  EXPECT_EQ(Square(white, Sq("a8")), 19);
  EXPECT_EQ(white.material, 19);
  const SearchPosition black = Played("4k3/8/8/8/8/8/7p/4K3 b - - 0 1", "h2", "h1");
  EXPECT_EQ(Square(black, Sq("h1")), -19);
  EXPECT_EQ(black.material, -19);
  const SearchPosition capture = Played("1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7", "b8");
  EXPECT_EQ(Square(capture, Sq("b8")), 19);
  EXPECT_EQ(capture.material, 19);  // -10 + 2 before, +10 taken, +17 promoted
  SearchPosition knight = Load("4k3/P7/8/8/8/8/8/4K3 w - - 0 1");
  search::MakeMove(knight, Sq("a7"), Sq("a8"), 7);
  EXPECT_EQ(Square(knight, Sq("a8")), 7);
  EXPECT_EQ(knight.material, 7);
}

TEST(MakeMove, EnPassantSlotFollowsTheMoversLastMove) {
  SearchPosition position = Load("");
  search::MakeMove(position, Sq("e2"), Sq("e4"), 19);
  EXPECT_EQ(EpSlot(position, 1), 53);
  search::MakeMove(position, Sq("g8"), Sq("f6"), 19);
  EXPECT_EQ(EpSlot(position, 1), 53);
  EXPECT_EQ(EpSlot(position, -1), 0);
  search::MakeMove(position, Sq("g1"), Sq("f3"), 19);
  EXPECT_EQ(EpSlot(position, 1), 0);
}

TEST(MakeMove, RightsGoByTheCornerSquare) {
  struct Case {
    const char* fen;
    const char* from;
    const char* to;
    int rights[4];
  };
  const Case cases[] = {
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "h1", "h5", {0, -1, -1, -1}},
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "a1", "a5", {-1, 0, -1, -1}},
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "h1", "h8", {0, -1, 0, -1}},
      {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", "a8", "a1", {-1, 0, -1, 0}},
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "e1", "f1", {0, 0, -1, -1}},
      {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", "e8", "d8", {-1, -1, 0, 0}},
      {"r3k2r/8/8/8/8/8/6B1/R3K2R w KQkq - 0 1", "g2", "a8", {-1, -1, -1, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.fen) + " " + c.from + c.to);
    const SearchPosition after = Played(c.fen, c.from, c.to);
    for (int wing = 0; wing < 4; ++wing) EXPECT_EQ(after.castleRight[wing], c.rights[wing]) << wing;
  }
}

TEST(MakeMove, KingCaptureSetsTheFlagAndStaysSet) {
  const SearchPosition before = Load("4k3/8/8/8/8/8/8/R3K3 w - - 0 1");
  SearchPosition position = before;
  search::MakeMove(position, Sq("a1"), Sq("a8"), 19);
  EXPECT_EQ(position.kingCaptured, 0);
  search::MakeMove(position, Sq("e8"), Sq("d8"), 19);
  search::MakeMove(position, Sq("a8"), Sq("d8"), 19);
  EXPECT_EQ(position.kingCaptured, -1);
  EXPECT_EQ(position.material, before.material + 126);
  SearchPosition copy = position;
  search::MakeMove(copy, Sq("e1"), Sq("e2"), 19);
  EXPECT_EQ(copy.kingCaptured, -1);
}

TEST(MakeMove, MaterialAfterMoveAgreesOnSpecialMoves) {
  struct Case {
    const char* fen;
    const char* from;
    const char* to;
  };
  const Case cases[] = {
      {"4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 2", "e5", "d6"}, {"4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 2", "d4", "e3"},
      {"1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7", "b8"},  {"4k3/8/8/8/8/8/7p/4K1N1 b - - 0 1", "h2", "g1"},
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "e1", "c1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.fen) + " " + c.from + c.to);
    const SearchPosition before = Load(c.fen);
    const SearchPosition after = Played(c.fen, c.from, c.to);
    EXPECT_EQ(search::MaterialAfterMove(before, Sq(c.from), Sq(c.to)), after.material);
    EXPECT_EQ(after.material, search_test::BoardSum(after));
  }
}

TEST(InCheck, SeesTheOpponentsGeneratedMoves) {
  struct Case {
    const char* fen;
    bool inCheck;
  };
  const Case cases[] = {
      {"6k1/8/8/8/8/8/8/r3K3 w - - 0 1", true},
      {"4r1k1/8/8/8/8/8/8/4K3 w - - 0 1", true},
      {"4r1k1/8/8/8/4P3/8/8/4K3 w - - 0 1", false},
      {"4k3/8/8/8/8/8/3p4/4K3 w - - 0 1", true},   // a pawn's capture of the king is a move
      {"4k3/8/8/8/8/8/4p3/4K3 w - - 0 1", false},
      {"7k/6Q1/6K1/8/8/8/8/8 b - - 0 1", true},
      {"7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fen);
    SearchPosition position = Load(c.fen);
    const int side = position.sideToMove;
    EXPECT_EQ(search::InCheck(position), c.inCheck);
    EXPECT_EQ(search::KingAttacked(Load(c.fen)), c.inCheck);
    EXPECT_EQ(position.sideToMove, side);
    // The list now holds the opponent's moves.
    for (int i = 0; i < position.moveCount; ++i)
      EXPECT_EQ(Square(position, position.moves[i].from) * side < 0, true);
  }
  SearchPosition captured = Load("4r1k1/8/8/8/8/8/8/4K3 w - - 0 1");
  captured.kingCaptured = -1;
  EXPECT_FALSE(search::InCheck(captured));
  EXPECT_FALSE(search::KingAttacked(captured));
}

TEST(InCheck, CappedCheckMissesAnAttackerBeyondTheEightiethMove) {
  // Black has far more than 80 moves; the rook on h8 that attacks the white
  // king is generated last (file h), so only the uncapped test sees it.
  const char* fen = "7r/8/1q1q4/q7/1q1q4/8/1q1q4/7K w - - 0 1";
  SearchPosition position = Load(fen);
  EXPECT_FALSE(search::InCheck(position));
  EXPECT_EQ(position.moveCount, 80);
  EXPECT_TRUE(search::KingAttacked(Load(fen)));
}

}  // namespace
