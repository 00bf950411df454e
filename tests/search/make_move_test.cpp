#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "position_text.h"
#include "search/king_attacked.h"
#include "search/make_move.h"
#include "tests/search/reference/reference_moves.h"

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

TEST(MakeMove, CastlingEnPassantAndPromotion) {
  struct Case {
    const char* fen;
    const char* from;
    const char* to;
    std::vector<std::pair<const char*, int>> squares;  // what the board holds afterwards
    int materialChange;
  };
  const Case cases[] = {
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "e1", "g1", {{"g1", 126}, {"f1", 10}, {"e1", 0}, {"h1", 0}}, 0},
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "e1", "c1", {{"c1", 126}, {"d1", 10}, {"e1", 0}, {"a1", 0}}, 0},
      {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", "e8", "c8", {{"c8", -126}, {"d8", -10}, {"a8", 0}, {"e8", 0}}, 0},
      {"4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 2", "e5", "d6", {{"d6", 2}, {"d5", 0}, {"e5", 0}}, 2},
      {"4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 2", "d4", "e3", {{"e3", -2}, {"e4", 0}, {"d4", 0}}, -2},
      {"4k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7", "a8", {{"a8", 19}, {"a7", 0}}, 17},
      {"4k3/8/8/8/8/8/7p/4K3 b - - 0 1", "h2", "h1", {{"h1", -19}}, -17},
      {"1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7", "b8", {{"b8", 19}}, 27},
      {"4k3/8/8/8/8/8/3q4/4K3 w - - 0 1", "e1", "d2", {{"d2", 126}, {"e1", 0}}, 19},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.fen) + " " + c.from + c.to);
    const SearchPosition before = Load(c.fen);
    const SearchPosition after = Played(c.fen, c.from, c.to);
    for (const auto& [square, value] : c.squares) EXPECT_EQ(Square(after, Sq(square)), value) << square;
    EXPECT_EQ(after.material, before.material + c.materialChange);
    EXPECT_EQ(after.material, search_test::BoardSum(after));
    EXPECT_EQ(after.sideToMove, -before.sideToMove);
    EXPECT_EQ(after.ply, before.ply + 1);  // once, en passant included
  }
  // The taker's own slot is cleared; the opponent's stays until its next move.
  const SearchPosition enPassant = Played("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 2", "e5", "d6");
  EXPECT_EQ(EpSlot(enPassant, -1), 46);
  EXPECT_EQ(EpSlot(enPassant, 1), 0);
  SearchPosition knight = Load("4k3/P7/8/8/8/8/8/4K3 w - - 0 1");
  search::MakeMove(knight, Sq("a7"), Sq("a8"), 7);
  EXPECT_EQ(Square(knight, Sq("a8")), 7);
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
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "e1", "g1", {0, 0, -1, -1}},
      {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", "e8", "d8", {-1, -1, 0, 0}},
      {"r3k2r/8/8/8/8/8/6B1/R3K2R w KQkq - 0 1", "g2", "a8", {-1, -1, -1, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.fen) + " " + c.from + c.to);
    const SearchPosition after = Played(c.fen, c.from, c.to);
    for (int wing = 0; wing < 4; ++wing) EXPECT_EQ(after.castleRight[wing], c.rights[wing]) << wing;
  }
}

TEST(MakeMove, KingCaptureSetsTheFlagForGood) {
  SearchPosition position = Load("3k4/8/8/8/8/8/8/R3K3 w - - 0 1");
  search::MakeMove(position, Sq("a1"), Sq("a8"), 19);
  EXPECT_EQ(position.kingCaptured, 0);
  search::MakeMove(position, Sq("d8"), Sq("c8"), 19);
  search::MakeMove(position, Sq("a8"), Sq("c8"), 19);
  EXPECT_EQ(position.kingCaptured, -1);
  EXPECT_EQ(position.material, 136);
  search::MakeMove(position, Sq("e1"), Sq("e2"), 19);
  EXPECT_EQ(position.kingCaptured, -1);
}

TEST(InCheck, SeesTheOpponentsGeneratedMoves) {
  struct Case {
    const char* fen;
    bool inCheck;
  };
  const Case cases[] = {
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
    EXPECT_EQ(search_reference::InCheck(position), c.inCheck);
    EXPECT_EQ(search::KingAttacked(Load(c.fen)), c.inCheck);
    EXPECT_EQ(position.sideToMove, side);
    for (int i = 0; i < position.moveCount; ++i)  // the list holds the opponent's moves
      EXPECT_LT(Square(position, position.moves[i].from) * side, 0);
  }
  SearchPosition captured = Load("4r1k1/8/8/8/8/8/8/4K3 w - - 0 1");
  captured.kingCaptured = -1;
  EXPECT_FALSE(search_reference::InCheck(captured));
  EXPECT_FALSE(search::KingAttacked(captured));
}

TEST(InCheck, CappedCheckMissesAnAttackerBeyondTheEightiethMove) {
  // Black has far more than 80 moves; the rook on h8 that attacks the white
  // king is generated last (file h), so only the uncapped test sees it.
  const char* fen = "7r/8/1q1q4/q7/1q1q4/8/1q1q4/7K w - - 0 1";
  SearchPosition position = Load(fen);
  EXPECT_FALSE(search_reference::InCheck(position));
  EXPECT_EQ(position.moveCount, 80);
  EXPECT_TRUE(search::KingAttacked(Load(fen)));
}

}  // namespace
