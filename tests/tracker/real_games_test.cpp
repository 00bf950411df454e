// Complete games played by stockfish, replayed on the tracker move by move and
// compared after every ply with the FEN stockfish printed for the same position.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/tracker/recorded_games.h"

namespace {

using tracker::PlayMoveText;
using tracker::PositionFromFen;
using tracker::PositionToFen;
using tracker::TrackedPosition;
using tracker_test::DataLines;
using tracker_test::RecordedGame;
using tracker_test::Words;

// trace.txt: "GAME PLY FEN", ply 0 being the position before the first move.
std::map<int, std::vector<std::string>> LoadTrace() {
  std::map<int, std::vector<std::string>> trace;
  for (const std::string& line : DataLines("trace.txt")) {
    std::istringstream in(line);
    int game = -1;
    std::size_t ply = 0;
    in >> game >> ply;
    std::string fen;
    std::getline(in >> std::ws, fen);
    std::vector<std::string>& fens = trace[game];
    if (fens.size() <= ply) fens.resize(ply + 1);
    fens[ply] = fen;
  }
  return trace;
}

// The tracker names the square behind every double step; stockfish only when
// a pawn can take there. Every other field must agree exactly.
std::string Difference(const std::string& tracked, const std::string& oracle, const std::string& lastMove,
                       const TrackedPosition& before) {
  const std::vector<std::string> ours = Words(tracked);
  const std::vector<std::string> theirs = Words(oracle);
  if (ours.size() != 6 || theirs.size() != 6) return "field count";
  for (const std::size_t field : {0u, 1u, 2u, 4u, 5u}) {
    if (ours[field] != theirs[field]) return "field " + std::to_string(field + 1);
  }
  std::string expectedTarget = "-";
  if (!lastMove.empty()) {
    const int file = lastMove[0] - 'a';
    const int fromRank = lastMove[1] - '0';
    const int toRank = lastMove[3] - '0';
    const int32_t piece = before.board[file][fromRank - 1];
    if ((piece == 1 || piece == -1) && (toRank - fromRank == 2 || fromRank - toRank == 2)) {
      expectedTarget.assign(1, lastMove[0]);
      expectedTarget += static_cast<char>('0' + (fromRank + toRank) / 2);
    }
  } else {
    expectedTarget = theirs[3];
  }
  if (ours[3] != expectedTarget) return "en passant (expected " + expectedTarget + ")";
  if (theirs[3] != "-" && theirs[3] != ours[3]) return "en passant (oracle)";
  return "";
}

TEST(RealGames, EveryPlyMatchesStockfish) {
  const std::vector<RecordedGame> games = tracker_test::RecordedGames();
  const std::map<int, std::vector<std::string>> trace = LoadTrace();
  ASSERT_GE(games.size(), 250u) << "200 games from the start position and 50 set-up games expected";
  ASSERT_EQ(trace.size(), games.size());

  std::size_t plies = 0;
  std::size_t doubleSteps = 0;
  for (std::size_t index = 0; index < games.size(); ++index) {
    const RecordedGame& game = games[index];
    const std::vector<std::string>& fens = trace.at(static_cast<int>(index));
    ASSERT_EQ(fens.size(), game.moves.size() + 1) << "game " << index;
    TrackedPosition position;
    PositionFromFen(position, game.startFen);
    std::string failure = Difference(PositionToFen(position), fens[0], "", position);
    ASSERT_EQ(failure, "") << "game " << index << " start\n  tracker  " << PositionToFen(position)
                           << "\n  oracle   " << fens[0];
    for (std::size_t ply = 0; ply < game.moves.size(); ++ply) {
      const TrackedPosition before = position;
      PlayMoveText(position, game.moves[ply], 5);
      const std::string tracked = PositionToFen(position);
      failure = Difference(tracked, fens[ply + 1], game.moves[ply], before);
      ASSERT_EQ(failure, "") << "game " << index << " ply " << ply + 1 << " move " << game.moves[ply]
                             << "\n  tracker  " << tracked << "\n  oracle   " << fens[ply + 1];
      if (position.enPassant.file != 0) ++doubleSteps;
      ++plies;
    }
  }
  std::cout << "replayed " << games.size() << " games, " << plies << " plies, " << doubleSteps
            << " double steps\n";
}

// Every distinct position of those games, in stockfish's own writing, comes
// back unchanged through the tracker.
TEST(RealGames, EveryPositionWritesBackUnchanged) {
  const std::vector<std::string> positions = DataLines("positions.txt");
  ASSERT_GT(positions.size(), 10000u);
  for (const std::string& fen : positions) {
    TrackedPosition position;
    PositionFromFen(position, fen);
    ASSERT_EQ(PositionToFen(position), fen);
  }
}

}  // namespace
