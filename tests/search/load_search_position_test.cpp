#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "position_text.h"

namespace {

using search::EpSlot;
using search::SearchPosition;
using search::Square;
using search_test::Load;
using search_test::Sq;

constexpr const char* kStartFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

void ExpectFrameIntact(const SearchPosition& position) {
  for (int index = -10; index < 110; ++index) {
    const int file = (index + 10) / 10 - 1;
    const int rank = (index + 10) % 10;
    if (file < 1 || file > 8 || rank < 1 || rank > 8) {
      EXPECT_EQ(Square(position, index), 127) << index;
    }
  }
}

TEST(LoadSearchPosition, EmptyTextAndStartFenGiveTheSameStartPosition) {
  const SearchPosition empty = Load("");
  const SearchPosition fen = Load(kStartFen);
  EXPECT_EQ(std::memcmp(&empty, &fen, search::kPositionStateBytes), 0);
  EXPECT_EQ(empty.sideToMove, 1);
  EXPECT_EQ(empty.ply, 0);
  EXPECT_EQ(empty.material, 0);
  for (int wing = 0; wing < 4; ++wing) EXPECT_EQ(empty.castleRight[wing], -1);
  EXPECT_EQ(EpSlot(empty, 1), 0);
  EXPECT_EQ(EpSlot(empty, -1), 0);
  EXPECT_EQ(Square(empty, Sq("e1")), 126);
  EXPECT_EQ(Square(empty, Sq("d8")), -19);
  EXPECT_EQ(Square(empty, Sq("g1")), 7);
  EXPECT_EQ(Square(empty, Sq("c8")), -6);
  ExpectFrameIntact(empty);
}

TEST(LoadSearchPosition, FieldsAsRead) {
  struct Case {
    const char* fen;
    int side;
    int ply;
    int material;
    int rights[4];
  };
  const Case cases[] = {
      {"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1", -1, 1, 0, {-1, -1, -1, -1}},
      {"4k3/8/8/8/8/8/8/4K3 w - - 0 10", 1, 18, 0, {0, 0, 0, 0}},
      {"4k3/8/8/8/8/8/8/4K3 b - - 0 10", -1, 19, 0, {0, 0, 0, 0}},
      {"4k3/8/8/8/8/8/8/3QK3 w - - 0 1", 1, 0, 19, {0, 0, 0, 0}},
      {"r3k2r/8/8/8/8/8/8/R3K2R w Kq - 0 1", 1, 0, 0, {-1, 0, 0, -1}},
      {"4k3/8/8/8/8/8/8/4K3 x - - 0 1", -1, 1, 0, {0, 0, 0, 0}},  // any side but "w" is black
      {"4k3/8/8/8/8/8/8/4K3 w - - 0", 1, -2, 0, {0, 0, 0, 0}},    // missing move number reads 0
      {"4k3/8/8/8/8/8/8/4K3 w - - 0 99999999999999999999", 1, 32767, 0, {0, 0, 0, 0}},
      {"4k3/8/8/8/8/8/8/4K3 w - - 0 16384", 1, 32766, 0, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fen);
    const SearchPosition position = Load(c.fen);
    EXPECT_EQ(position.sideToMove, c.side);
    EXPECT_EQ(position.ply, c.ply);
    EXPECT_EQ(position.material, c.material);
    for (int wing = 0; wing < 4; ++wing) EXPECT_EQ(position.castleRight[wing], c.rights[wing]) << wing;
    EXPECT_EQ(position.kingCaptured, 0);
    EXPECT_EQ(position.moveCount, 0);
  }
}

// A hand-typed FEN may claim rights and squares the board contradicts; only
// what a game could have produced is kept.
TEST(LoadSearchPosition, RightsAndEnPassantSquareOnlyWhereTheBoardAllowsThem) {
  struct Case {
    const char* fen;
    int rights[4];
    int blackSlot;
    int whiteSlot;
  };
  const Case cases[] = {
      {"5k2/8/8/8/8/7P/5K2/8 w K - 0 40", {0, 0, 0, 0}, 0, 0},                  // no king on e1
      {"4k3/8/8/8/8/8/8/4K3 w KQkq - 0 1", {0, 0, 0, 0}, 0, 0},                 // kings home, no rooks
      {"r3k2r/8/8/8/8/8/8/R3K1R1 w KQkq - 0 1", {0, -1, -1, -1}, 0, 0},         // rook off h1
      {"r3k2R/8/8/8/8/8/8/R3K2r w KQkq - 0 1", {0, -1, 0, -1}, 0, 0},           // wrong colours
      {"4k3/8/8/3Pn3/8/8/8/4K3 w - e6 0 1", {0, 0, 0, 0}, 0, 0},                // knight, not pawn
      {"4k3/8/4p3/3Pp3/8/8/8/4K3 w - e6 0 1", {0, 0, 0, 0}, 0, 0},              // square occupied
      {"4k3/8/8/3Pp3/8/8/8/4K3 b - e6 0 1", {0, 0, 0, 0}, 0, 0},                // wrong rank for black
      {"4k3/8/8/8/4Pp2/8/8/4K3 b - e3 0 1", {0, 0, 0, 0}, 0, 53},               // kept
      {"4k3/8/8/3Pp3/8/8/8/4K3 w - e6 0 1", {0, 0, 0, 0}, 56, 0},               // kept
      {"4k3/8/8/3Pp3/8/8/8/4K3 w - z9 0 1", {0, 0, 0, 0}, 0, 0},                // off the board
      {"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1", {-1, -1, -1, -1}, 0, 53},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fen);
    const SearchPosition position = Load(c.fen);
    for (int wing = 0; wing < 4; ++wing) EXPECT_EQ(position.castleRight[wing], c.rights[wing]) << wing;
    EXPECT_EQ(EpSlot(position, -1), c.blackSlot);
    EXPECT_EQ(EpSlot(position, 1), c.whiteSlot);
  }
}

TEST(LoadSearchPosition, MalformedPlacementsNeverWriteOutsideTheBoard) {
  const std::string longRank(5000, 'Q');
  const std::string manyRanks = [] {
    std::string text;
    for (int i = 0; i < 3000; ++i) text += "8/";
    return text;
  }();
  const std::string cases[] = {
      "KKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKK/8/8/8/8/8/8/k w - - 0 1",
      "88888888888/88888888/8/8/8/8/8/8/8/8/8/8/8/8/8/8/8/8/8/8/k7/K7 w - - 0 1",
      longRank + " w - - 0 1",
      manyRanks + "k w - - 0 1",
      "",  // stands for the start position
      "no blanks at all",
      std::string("\x01\xff\x80 \xfe \x00 \x7f 1 1", 13),
      "4k3/8/8/8/8/8/8/4K3",
  };
  for (const std::string& fen : cases) {
    SCOPED_TRACE(fen.substr(0, 60));
    const SearchPosition position = Load(fen);
    ExpectFrameIntact(position);
  }
}

TEST(LoadSearchPosition, UnreachedSquaresKeepTheFrameValue) {
  const SearchPosition position = Load("4k/8/8/8/8/8/8/4K3 w - - 0 1");
  EXPECT_EQ(Square(position, Sq("e8")), -126);
  EXPECT_EQ(Square(position, Sq("f8")), 127);
  EXPECT_EQ(Square(position, Sq("h8")), 127);
}

}  // namespace
