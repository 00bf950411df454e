#include <gtest/gtest.h>

#include <string>

#include "tracker/tracked_position.h"

namespace {

using tracker::BoardSquare;
using tracker::PositionFromFen;
using tracker::PositionToFen;
using tracker::SquareText;
using tracker::TrackedPosition;

std::string RoundTrip(const std::string& fen) {
  TrackedPosition position;
  PositionFromFen(position, fen);
  return PositionToFen(position);
}

TEST(FenWriting, AllZeroRecordAsTheEngineStartsWithIt) {
  EXPECT_EQ(PositionToFen(TrackedPosition{}), "8/8/8/8/8/8/8/8 b - - 0 0");
}

struct RoundTripCase {
  const char* loaded;
  const char* written;
};

class WrittenBack : public testing::TestWithParam<RoundTripCase> {};

TEST_P(WrittenBack, InTheTrackersOwnForm) {
  EXPECT_EQ(RoundTrip(GetParam().loaded), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(
    LoadedTexts, WrittenBack,
    testing::Values(
        RoundTripCase{"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
                      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"},
        RoundTripCase{"4k3/8/8/8/8/8/8/4K3 w qK - 0 1", "4k3/8/8/8/8/8/8/4K3 w Kq - 0 1"},
        RoundTripCase{"r6r/8/8/8/8/8/8/R6R w qkQK - 0 1", "r6r/8/8/8/8/8/8/R6R w KQkq - 0 1"},
        RoundTripCase{"44/1111pppp/8/8/8/8/8/8 b - d6 0 1", "8/4pppp/8/8/8/8/8/8 b - d6 0 1"},
        RoundTripCase{"8/8/8/8/8/8/8/8 W - - 007 +3", "8/8/8/8/8/8/8/8 b - - 7 3"},
        RoundTripCase{"8/8/8/8/8/8/8/8 w - - -1 -2147483648", "8/8/8/8/8/8/8/8 w - - -1 -2147483648"},
        RoundTripCase{"8/8/8/8/8/8/8/8 w - - 99999999999999999999 5", "8/8/8/8/8/8/8/8 w - - 2147483647 5"},
        // An odd en-passant field of two characters comes back as it went in.
        RoundTripCase{"8/8/8/8/8/8/8/8 w - zz 0 1", "8/8/8/8/8/8/8/8 w - zz 0 1"},
        RoundTripCase{"8/8/8/8/8/8/8/8 w - \xff\x80 0 1", "8/8/8/8/8/8/8/8 w - \xff\x80 0 1"},
        RoundTripCase{"8/8/8/8/8/8/8/8 w - - 0 1 moves e2e4", "8/8/8/8/8/8/8/8 w - - 0 1"},
        RoundTripCase{"8/8/8/8/8/8/8/8 w - -", "8/8/8/8/8/8/8/8 w - - 0 0"}));

TEST(FenWriting, EnPassantIsWrittenWhenOnlyItsFileIsSet) {
  TrackedPosition position;
  position.enPassant = {4, 6};
  EXPECT_EQ(PositionToFen(position), "8/8/8/8/8/8/8/8 b - d6 0 0");
  position.enPassant = {0, 6};
  EXPECT_EQ(PositionToFen(position), "8/8/8/8/8/8/8/8 b - - 0 0");
}

TEST(FenWriting, SquareTextByCharacterCodes) {
  EXPECT_EQ(SquareText({5, 3}), "e3");
  EXPECT_EQ(SquareText({1, 1}), "a1");
  EXPECT_EQ(SquareText({8, 8}), "h8");
  EXPECT_EQ(SquareText({26, 74}), "zz");
  EXPECT_EQ(SquareText({2147483647, -2147483647 - 1}).size(), 2u);
}

TEST(FenWriting, CodesOutsideTheLetterTableCannotReadPastIt) {
  TrackedPosition position;
  position.board[0][7] = 7;
  position.board[1][7] = -2147483647 - 1;
  position.board[2][7] = -6;
  position.sideToMove = 1;
  position.castling[3] = 200;
  EXPECT_EQ(PositionToFen(position), "??k5/8/8/8/8/8/8/8 w q - 0 0");
}

}  // namespace
