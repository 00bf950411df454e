#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "position_text.h"
#include "search/best_move.h"
#include "search/castle_scan.h"
#include "search/make_move.h"
#include "search/root_choice.h"
#include "search/search.h"
#include "tests/search/reference/reference_moves.h"

namespace {

using search::SearchPosition;

// Every move of every position, and every reply to it: the incremental
// balance matches the board, and the leaf shortcut matches the made move.
TEST(RealPositions, MaterialFollowsTheBoardThroughTwoPlies) {
  const auto fens = search_test::RealPositions(25);
  ASSERT_GT(fens.size(), 1000u);
  long checked = 0;
  for (const std::string& fen : fens) {
    SearchPosition position = search_test::Load(fen);
    ASSERT_EQ(position.material, search_test::BoardSum(position)) << fen;
    search_reference::GenerateAllMoves(position);
    for (int i = 0; i < position.moveCount; ++i) {
      const search::MoveEntry move = position.moves[i];
      SearchPosition child = position;
      search::MakeMove(child, move.from, move.to, 19);
      ASSERT_EQ(child.material, search_test::BoardSum(child)) << fen << " " << i;
      ASSERT_EQ(search::MaterialAfterMove(position, move.from, move.to), child.material) << fen << " " << i;
      search_reference::GenerateAllMoves(child);
      for (int j = 0; j < child.moveCount; ++j) {
        SearchPosition grandchild = child;
        search::MakeMove(grandchild, child.moves[j].from, child.moves[j].to, 19);
        ASSERT_EQ(grandchild.material, search_test::BoardSum(grandchild)) << fen << " " << i << " " << j;
        ASSERT_EQ(search::MaterialAfterMove(child, child.moves[j].from, child.moves[j].to), grandchild.material);
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 1000000);
}

// The search's own castle scan stops early and keeps only what its castling
// moves read: for the side it is run for, both wings must match the full scan,
// in every real position and after every move from it (king captures included).
TEST(RealPositions, QuietCastleScanMatchesTheFullScanForTheSideItServes) {
  long compared = 0;
  const auto check = [&](const SearchPosition& position, const std::string& fen) {
    for (const int side : {1, -1}) {
      SearchPosition full = position;
      SearchPosition quiet = position;
      search_reference::ScanCastlePaths(full, side);
      search::ScanCastlePathsQuietly(quiet, side);
      const int firstWing = side == 1 ? search::kWhiteKingWing : search::kBlackKingWing;
      ASSERT_EQ(quiet.castlePathSafe[firstWing], full.castlePathSafe[firstWing]) << fen << " side " << side;
      ASSERT_EQ(quiet.castlePathSafe[firstWing + 1], full.castlePathSafe[firstWing + 1]) << fen << " side " << side;
      ASSERT_EQ(std::memcmp(quiet.board, position.board, sizeof position.board), 0) << fen;
      ASSERT_EQ(quiet.sideToMove, position.sideToMove) << fen;
      ++compared;
    }
  };
  for (const std::string& fen : search_test::RealPositions(9)) {
    SearchPosition position = search_test::Load(fen);
    check(position, fen);
    search_reference::GenerateAllMoves(position);
    for (int i = 0; i < position.moveCount; ++i) {
      SearchPosition child = position;
      search::MakeMove(child, position.moves[i].from, position.moves[i].to, 19);
      check(child, fen);
    }
  }
  EXPECT_GT(compared, 100000);
}

TEST(RealPositions, SearchLeavesTheRootUnchangedAndAnswersAlike) {
  const auto fens = search_test::RealPositions(101);
  static search::SearchContext context;
  for (const std::string& fen : fens) {
    search::InitSearchContext(context);
    search::LoadSearchContext(context, fen);
    SearchPosition loaded = context.root;
    search::Search(context, context.root, context.root.sideToMove, 1, 32000);
    std::memcpy(loaded.castlePathSafe, context.root.castlePathSafe, 4);
    ASSERT_EQ(std::memcmp(&loaded, &context.root, search::kPositionStateBytes), 0) << fen;
  }
  for (size_t i = 0; i < fens.size(); i += 5) {
    const std::string first = search::BestMove(fens[i]);
    EXPECT_EQ(search::BestMove(fens[i]), first) << fens[i];
  }
}

// The root choice as first written: every move with the best score is a
// candidate, safe or not. Where that choice keeps the king safe, the engine's
// answer must be the same move.
TEST(RealPositions, TheSafeChoiceChangesNothingWhereTheFirstChoiceWasSafe) {
  static search::SearchContext context;
  int compared = 0;
  for (const std::string& fen : search_test::RealPositions(53)) {
    search::InitSearchContext(context);
    search::LoadSearchContext(context, fen);
    const int16_t best = search::Search(context, context.root, context.root.sideToMove, 1, 32000);
    int first = -1;
    int chosen = -1;
    int16_t highest = 0;
    for (int i = 0; i < context.root.moveCount; ++i) {
      const search::MoveEntry& move = context.root.moves[i];
      if (move.score != best) continue;
      if (first < 0) first = i;
      const int16_t h = search::TieBreakScore(context, move);
      if (h >= highest) {
        chosen = i;
        highest = h;
      }
    }
    if (chosen < 0) chosen = first;
    if (chosen < 0 || !search::RootMoveSafe(context.root, context.root.moves[chosen])) continue;
    const search::MoveEntry& move = context.root.moves[chosen];
    std::string expected = search::MoveToText(move.from, move.to);
    const int piece = search::Square(context.root, move.from);
    if ((piece == 2 || piece == -2) && (move.to % 10 == 1 || move.to % 10 == 8)) expected += 'q';
    EXPECT_EQ(search::BestMove(fen), expected) << fen;
    ++compared;
  }
  EXPECT_GT(compared, 400);
}

}  // namespace
