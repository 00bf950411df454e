#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "tracker/tracked_position.h"

namespace {

using tracker::BoardSquare;
using tracker::PositionFromFen;
using tracker::TrackedPosition;

constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

TrackedPosition Loaded(const std::string& fen) {
  TrackedPosition position;
  PositionFromFen(position, fen);
  return position;
}

int32_t Code(const TrackedPosition& position, int file, int rank) {
  return position.board[file - 1][rank - 1];
}

TEST(FenLoading, StartPositionFillsEveryField) {
  const TrackedPosition position = Loaded(kStart);
  const int32_t backRank[8] = {4, 2, 3, 5, 6, 3, 2, 4};
  for (int file = 1; file <= 8; ++file) {
    EXPECT_EQ(Code(position, file, 1), backRank[file - 1]) << "file " << file;
    EXPECT_EQ(Code(position, file, 2), 1);
    for (int rank = 3; rank <= 6; ++rank) EXPECT_EQ(Code(position, file, rank), 0);
    EXPECT_EQ(Code(position, file, 7), -1);
    EXPECT_EQ(Code(position, file, 8), -backRank[file - 1]);
  }
  EXPECT_EQ(position.sideToMove, 1);
  for (const uint8_t flag : position.castling) EXPECT_EQ(flag, 1);
  EXPECT_EQ(position.enPassant.file, 0);
  EXPECT_EQ(position.enPassant.rank, 0);
  EXPECT_EQ(position.halfmoveClock, 0);
  EXPECT_EQ(position.fullmoveNumber, 1);
}

struct FieldCase {
  const char* fen;
  int32_t side;
  uint8_t castling[4];
  BoardSquare enPassant;
  int32_t halfmove;
  int32_t fullmove;
};

class FenFields : public testing::TestWithParam<FieldCase> {};

TEST_P(FenFields, ReadAsWritten) {
  const FieldCase& c = GetParam();
  const TrackedPosition position = Loaded(c.fen);
  EXPECT_EQ(position.sideToMove, c.side);
  for (int flag = 0; flag < 4; ++flag) EXPECT_EQ(position.castling[flag], c.castling[flag]) << "flag " << flag;
  EXPECT_EQ(position.enPassant.file, c.enPassant.file);
  EXPECT_EQ(position.enPassant.rank, c.enPassant.rank);
  EXPECT_EQ(position.halfmoveClock, c.halfmove);
  EXPECT_EQ(position.fullmoveNumber, c.fullmove);
}

INSTANTIATE_TEST_SUITE_P(
    OddAndOrdinaryTexts, FenFields,
    testing::Values(
        FieldCase{"8/8/8/8/8/8/8/8 w - e3 3 7", 1, {0, 0, 0, 0}, {5, 3}, 3, 7},
        FieldCase{"8/8/8/8/8/8/8/8 b Qk - 0 1", -1, {0, 1, 1, 0}, {0, 0}, 0, 1},
        FieldCase{"8/8/8/8/8/8/8/8 b kQ - 0 1", -1, {0, 1, 1, 0}, {0, 0}, 0, 1},
        FieldCase{"8/8/8/8/8/8/8/8 x KQ-q - 0 1", -1, {1, 1, 0, 1}, {0, 0}, 0, 1},
        FieldCase{"8/8/8/8/8/8/8/8 W kkk - 0 1", -1, {0, 0, 1, 0}, {0, 0}, 0, 1},
        FieldCase{"8/8/8/8/8/8/8/8  - - 0 1", -1, {0, 0, 0, 0}, {0, 0}, 0, 1},
        // Four fields: the last word lands in the sixth field.
        FieldCase{"8/8/8/8/8/8/8/8 w - -", 1, {0, 0, 0, 0}, {0, 0}, 0, 0},
        FieldCase{"8/8/8/8/8/8/8/8 w KQkq 12", 1, {1, 1, 1, 1}, {0, 0}, 0, 12},
        FieldCase{"", -1, {0, 0, 0, 0}, {0, 0}, 0, 0},
        // En passant: only the length counts, the range is not checked.
        FieldCase{"8/8/8/8/8/8/8/8 w - zz 0 1", 1, {0, 0, 0, 0}, {26, 74}, 0, 1},
        FieldCase{"8/8/8/8/8/8/8/8 w - e 0 1", 1, {0, 0, 0, 0}, {0, 0}, 0, 1},
        FieldCase{"8/8/8/8/8/8/8/8 w - e3x 0 1", 1, {0, 0, 0, 0}, {0, 0}, 0, 1},
        // Clocks: sign, leading blanks in the sixth field, trailing junk, saturation.
        FieldCase{"8/8/8/8/8/8/8/8 w - - -5 +9", 1, {0, 0, 0, 0}, {0, 0}, -5, 9},
        FieldCase{"8/8/8/8/8/8/8/8 w - - 12ab    40 moves", 1, {0, 0, 0, 0}, {0, 0}, 12, 40},
        FieldCase{"8/8/8/8/8/8/8/8 w - - x 1 2", 1, {0, 0, 0, 0}, {0, 0}, 0, 1},
        FieldCase{"8/8/8/8/8/8/8/8 w - - +-3 -", 1, {0, 0, 0, 0}, {0, 0}, 0, 0},
        FieldCase{"8/8/8/8/8/8/8/8 w - - 99999999999999999999 2147483647", 1, {0, 0, 0, 0}, {0, 0}, kMax, kMax},
        FieldCase{"8/8/8/8/8/8/8/8 w - - 2147483648 -2147483648", 1, {0, 0, 0, 0}, {0, 0}, kMax, kMin},
        FieldCase{"8/8/8/8/8/8/8/8 w - - -99999999999999999999 0001", 1, {0, 0, 0, 0}, {0, 0}, kMin, 1}));

TEST(FenLoading, ATabIsNotABlankBeforeAClock) {
  // Only blanks are skipped; a tab ends the number before it starts.
  EXPECT_EQ(Loaded("8/8/8/8/8/8/8/8 w - - 0 \t7").fullmoveNumber, 0);
}

TEST(FenLoading, NinthPieceInARankIsDroppedAndTheNextRankStartsAtFileA) {
  const TrackedPosition position = Loaded("rnbqkbnrq/ppppppppp/8/8/8/8/8/8 w - - 0 1");
  EXPECT_EQ(Code(position, 8, 8), -4);
  EXPECT_EQ(Code(position, 1, 7), -1);
  EXPECT_EQ(Code(position, 8, 7), -1);
  EXPECT_EQ(Code(position, 1, 6), 0);
}

TEST(FenLoading, NineAndZeroAndUnknownLettersDoNotMoveTheFile) {
  const TrackedPosition position = Loaded("9k0x7/8/8/8/8/8/8/K7 w - - 0 1");
  EXPECT_EQ(Code(position, 1, 8), -6);
  for (int file = 2; file <= 8; ++file) EXPECT_EQ(Code(position, file, 8), 0);
  EXPECT_EQ(Code(position, 1, 1), 6);
}

TEST(FenLoading, SquaresThePlacementNeverReachesKeepTheirCodes) {
  TrackedPosition position;
  PositionFromFen(position, kStart);
  PositionFromFen(position, "4k3/8 b - - 0 1");
  EXPECT_EQ(Code(position, 5, 8), -6);
  EXPECT_EQ(Code(position, 1, 8), 0);
  EXPECT_EQ(Code(position, 1, 7), 0);
  EXPECT_EQ(Code(position, 1, 1), 4);  // rank 1 untouched
  EXPECT_EQ(Code(position, 5, 2), 1);
  EXPECT_EQ(position.sideToMove, -1);
}

TEST(FenLoading, ExtraRanksAndLongRunsWriteNothingOffTheBoard) {
  // Ranks past the first and files past h are counted, never written.
  std::string placement = "k7/8/8/8/8/8/8/K7";
  for (int extra = 0; extra < 20; ++extra) placement += "/QQQQQQQQQ88888888";
  placement += std::string(5000, '8');
  const TrackedPosition position = Loaded(placement + " w - - 0 1");
  EXPECT_EQ(Code(position, 1, 8), -6);
  EXPECT_EQ(Code(position, 1, 1), 6);
  EXPECT_EQ(Code(position, 2, 1), 0);
  EXPECT_EQ(position.sideToMove, 1);
}

TEST(FenLoading, BinaryBytesAreIgnoredInThePlacement) {
  std::string fen = "k7/8/8/8/8/8/8/K7 w - - 0 1";
  fen.insert(1, std::string("\0\xff\x80\t", 4));
  const TrackedPosition position = Loaded(fen);
  EXPECT_EQ(Code(position, 1, 8), -6);
  EXPECT_EQ(Code(position, 2, 8), 0);
  EXPECT_EQ(Code(position, 8, 8), 0);
}

}  // namespace
