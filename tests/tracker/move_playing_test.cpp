#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tracker/tracked_position.h"

namespace {

using tracker::PlayMove;
using tracker::PlayMoveText;
using tracker::PositionFromFen;
using tracker::PositionToFen;
using tracker::TrackedPosition;

constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

std::string Played(const std::string& fen, const std::string& moves, int32_t defaultPromotion = 5) {
  TrackedPosition position;
  PositionFromFen(position, fen);
  std::istringstream words(moves);
  for (std::string move; words >> move;) PlayMoveText(position, move, defaultPromotion);
  return PositionToFen(position);
}

struct MoveCase {
  const char* name;
  const char* fen;
  const char* moves;
  const char* expected;
};

class PlayedMoves : public testing::TestWithParam<MoveCase> {};

TEST_P(PlayedMoves, GiveTheExpectedFen) {
  const MoveCase& c = GetParam();
  EXPECT_EQ(Played(c.fen, c.moves), c.expected) << c.moves;
}

const MoveCase kMoveCases[] = {
    {"KingPawnDoubleStep", kStart, "e2e4", "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1"},
    {"KnightMoveCountsTheClock", kStart, "e2e4 e7e5 g1f3",
     "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq - 1 2"},
    {"BlackDoubleStepTargetsRankSix", kStart, "d2d4 d7d5",
     "rnbqkbnr/ppp1pppp/8/3p4/3P4/8/PPP1PPPP/RNBQKBNR w KQkq d6 0 2"},
    {"WhiteCastlesKingSide", kStart, "e2e4 e7e5 g1f3 b8c6 f1c4 g8f6 e1g1",
     "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQ1RK1 b kq - 5 4"},
    {"WhiteCapturesEnPassant", kStart, "e2e4 a7a6 e4e5 d7d5 e5d6",
     "rnbqkbnr/1pp1pppp/p2P4/8/8/8/PPPP1PPP/RNBQKBNR b KQkq - 0 3"},
    {"BlackCapturesEnPassant", kStart, "a2a3 d7d5 a3a4 d5d4 e2e4 d4e3",
     "rnbqkbnr/ppp1pppp/8/8/P7/4p3/1PPP1PPP/RNBQKBNR w KQkq - 0 4"},
    {"PromotionDefaultsToQueen", "8/P7/8/8/8/8/8/k6K w - - 5 40", "a7a8", "Q7/8/8/8/8/8/8/k6K b - - 0 40"},
    {"PromotionToKnight", "8/P7/8/8/8/8/8/k6K w - - 5 40", "a7a8n", "N7/8/8/8/8/8/8/k6K b - - 0 40"},
    {"PromotionToBishopAndRook", "8/P6P/8/8/8/8/8/k6K w - - 5 40", "a7a8b a1a2 h7h8r",
     "B6R/8/8/8/8/8/k7/7K b - - 0 41"},
    {"SixCharacterTextTakesTheDefault", "8/P7/8/8/8/8/8/k6K w - - 5 40", "a7a8nq", "Q7/8/8/8/8/8/8/k6K b - - 0 40"},
    {"UnknownFifthLetterTakesTheDefault", "8/P7/8/8/8/8/8/k6K w - - 5 40", "a7a8k", "Q7/8/8/8/8/8/8/k6K b - - 0 40"},
    {"BlackPromotesWithCaptureKeepingItsColour", "k7/8/8/8/8/8/1p6/R6K b Q - 3 9", "b2a1n",
     "k7/8/8/8/8/8/8/n6K w - - 0 10"},
    {"BishopTakesRookOnItsCorner", "4k2r/8/8/8/8/8/8/4K2B w k - 0 1", "h1h8", "4k2B/8/8/8/8/8/8/4K3 b - - 0 1"},
    {"KnightTakesRookOnA1", "r3k2r/8/8/8/8/8/1n6/R3K2R b KQkq - 0 1", "b2a1", "r3k2r/8/8/8/8/8/8/n3K2R w Kkq - 0 2"},
    {"RookTakesRookCornerToCorner", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "a1a8",
     "R3k2r/8/8/8/8/8/8/4K2R b Kk - 0 1"},
    {"EveryRookLeavingItsCorner", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "h1h2 h8h7 a1a2 a8a7",
     "4k3/r6r/8/8/8/8/R6R/4K3 w - - 4 3"},
    {"BlackCastlesBothWaysInTwoGames", "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", "e8c8",
     "2kr3r/8/8/8/8/8/8/R3K2R w KQ - 1 2"},
    {"WhiteCastlesQueenSide", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "e1c1",
     "r3k2r/8/8/8/8/8/8/2KR3R b kq - 1 1"},
    {"BlackCastlesKingSide", "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 7 1", "e8g8",
     "r4rk1/8/8/8/8/8/8/R3K2R w KQ - 8 2"},
    {"BothKingsWalk", kStart, "e2e3 e7e6 e1e2 e8e7", "rnbq1bnr/ppppkppp/4p3/8/8/4P3/PPPPKPPP/RNBQ1BNR w - - 2 3"},
    {"MoveFromAnEmptySquare", kStart, "e3e4", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 1 1"},
    {"MoveFromAnEmptySquareEmptiesItsTarget", kStart, "d3d7", "rnbqkbnr/ppp1pppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1"},
    {"PawnJumpsThreeRanks", kStart, "e2e5", "rnbqkbnr/pppppppp/8/4P3/8/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1"},
    {"MoveOntoItselfLiftsThePiece", kStart, "g1g1", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKB1R b KQkq - 0 1"},
    // Any diagonal pawn step onto an empty square takes the pawn beside it.
    {"EnPassantWithoutTargetField", "4k3/8/8/4Pp2/8/8/8/4K3 w - - 0 1", "e5f6",
     "4k3/8/5P2/8/8/8/8/4K3 b - - 0 1"},
    {"DiagonalStepOntoEmptySquareTakesBehind", "4k3/8/8/8/8/8/3nP3/4K3 w - - 0 1", "e2d3",
     "4k3/8/8/8/8/3P4/8/4K3 b - - 0 1"},
    {"BlackDiagonalStepTakesAboveAndPromotes", "4k3/8/8/8/8/8/3Np3/4K3 b - - 0 1", "e2d1",
     "4k3/8/8/8/8/8/8/3qK3 w - - 0 2"},
    // The rook table goes by the product of the king's target file and rank.
    {"KingTwoFilesOnProductFiftySixTakesTheH8Rook", "7r/5K2/8/8/8/8/8/k7 w - - 0 1", "f7h7",
     "5r2/7K/8/8/8/8/8/k7 b - - 1 1"},
    {"KingTwoFilesCarriesWhateverIsOnTheCorner", "4k2n/8/8/8/8/8/8/4K3 b - - 0 1", "e8g8",
     "5nk1/8/8/8/8/8/8/4K3 w - - 1 2"},
    {"KingTwoFilesWithoutRookTakesNothingAlong", "4k3/8/8/8/8/8/8/4K3 w K - 0 1", "e1g1",
     "4k3/8/8/8/8/8/8/6K1 b - - 1 1"},
    // A text that is no move leaves everything as it was.
    {"TextsThatAreNoMoves", kStart, "e2 e2e9 i2i4 E2E4 e0e4 2e4e", kStart},
};

INSTANTIATE_TEST_SUITE_P(Examples, PlayedMoves, testing::ValuesIn(kMoveCases),
                         [](const testing::TestParamInfo<MoveCase>& info) { return info.param.name; });

TEST(MovePlaying, DefaultPromotionComesFromTheCaller) {
  EXPECT_EQ(Played("8/P7/8/8/8/8/8/k6K w - - 5 40", "a7a8", 2), "N7/8/8/8/8/8/8/k6K b - - 0 40");
  EXPECT_EQ(Played("8/P7/8/8/8/8/8/k6K w - - 5 40", "a7a8r", 2), "R7/8/8/8/8/8/8/k6K b - - 0 40");
  // A code that names no promotion piece cannot leave a code off the letter table.
  for (const int32_t odd : {0, 1, 6, 7, -5, 1000}) {
    EXPECT_EQ(Played("8/P7/8/8/8/8/8/k6K w - - 5 40", "a7a8", odd), "Q7/8/8/8/8/8/8/k6K b - - 0 40") << odd;
  }
}

TEST(MovePlaying, ClocksSaturateAtTheLimit) {
  EXPECT_EQ(Played("4k3/8/8/8/8/8/8/4K3 b - - 2147483647 2147483647", "e8d8 e1d1"),
            "3k4/8/8/8/8/8/8/3K4 b - - 2147483647 2147483647");
}

TEST(MovePlaying, SquaresOffTheBoardAreNotPlayed) {
  TrackedPosition position;
  PositionFromFen(position, kStart);
  PlayMove(position, {{0, 2}, {5, 4}}, 5);
  PlayMove(position, {{5, 2}, {5, 9}}, 5);
  PlayMove(position, {{-2147483647 - 1, 2147483647}, {5, 4}}, 5);
  EXPECT_EQ(PositionToFen(position), kStart);
}

TEST(MovePlaying, AnOddSideInAHandFilledRecordStaysDefined) {
  // Side 0 (a record never loaded) and extreme sides must not overflow.
  for (const int32_t side : {0, 2, -2147483647 - 1, 2147483647}) {
    TrackedPosition position;
    PositionFromFen(position, "4k3/8/8/8/8/8/4P3/4K3 w - - 0 1");
    position.sideToMove = side;
    PlayMoveText(position, "e2e4", 5);
    PlayMoveText(position, "e4d5", 5);
    EXPECT_EQ(position.board[3][4], 1) << side;
  }
}

TEST(MovePlaying, AllZeroRecordTakesMovesWithoutHarm) {
  TrackedPosition position;
  PlayMoveText(position, "e2e4", 5);
  EXPECT_EQ(PositionToFen(position), "8/8/8/8/8/8/8/8 b - - 1 0");
  PlayMoveText(position, "e7e5", 5);
  EXPECT_EQ(PositionToFen(position), "8/8/8/8/8/8/8/8 b - - 2 0");
}

}  // namespace
