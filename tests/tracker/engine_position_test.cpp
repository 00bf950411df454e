// The tracker inside the engine. The current FEN after "position ... moves ..."
// is read back exactly through the log line of a refused "go"; where "go" answers,
// it must answer as "position fen" with the tracker's FEN. A Polyglot book in the
// working directory makes opening answers depend on the position itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <future>
#include <string>
#include <vector>

#include "frontend/command_reader.h"
#include "notation/notation.h"
#include "tests/support/engine_process.h"
#include "tests/tracker/recorded_games.h"
#include "tracker/tracked_position.h"

namespace {

using test_support::RunEngine;
using test_support::TempDir;
using tracker_test::kStart;
using tracker_test::RecordedGame;
using tracker_test::TrackerFen;
using tracker_test::Words;

constexpr const char* kBook = "/usr/share/games/gnuchess/book.bin";

// A working directory whose main book is Debian's gnuchess book.
class BookDir {
 public:
  BookDir() { std::filesystem::create_symlink(kBook, dir_.path() / "mainbook.bin"); }
  const std::filesystem::path& path() const { return dir_.path(); }

 private:
  TempDir dir_;
};

std::string Join(const std::vector<std::string>& moves, std::size_t count) {
  std::string text;
  for (std::size_t index = 0; index < count; ++index) text += " " + moves[index];
  return text;
}

// The move of the last "bestmove" line, or "" when there is none.
std::string LastBestMove(const std::string& output) {
  const std::size_t at = output.rfind("bestmove ");
  if (at == std::string::npos) return "";
  return Words(output.substr(at + 9)).at(0);
}

// A move from an empty square onto the black king takes the king off the
// board. The next "go" then refuses the position and writes the engine's
// current FEN into its log, so the exact text can be read from outside.
std::string KingRemoval(const std::string& fen) {
  tracker::TrackedPosition position;
  tracker::PositionFromFen(position, fen);
  std::string empty;
  std::string king;
  for (int file = 1; file <= 8; ++file) {
    for (int rank = 1; rank <= 8; ++rank) {
      const int32_t code = position.board[file - 1][rank - 1];
      if (code == 0 && empty.empty()) empty = tracker::SquareText({file, rank});
      if (code == -notation::kKingCode) king = tracker::SquareText({file, rank});
    }
  }
  return empty + king;
}

// The FEN texts of the log's invalid-FEN lines, in order.
std::vector<std::string> RefusedFens(const std::filesystem::path& dir) {
  const std::string marker = "[Invalid FEN string: \"";
  std::vector<std::string> fens;
  for (const std::string& line : test_support::ReadLines(dir / "brindlet.log")) {
    const std::size_t at = line.find(marker);
    if (at != std::string::npos && line.size() >= at + marker.size() + 2) {
      fens.push_back(line.substr(at + marker.size(), line.size() - at - marker.size() - 2));
    }
  }
  return fens;
}

TEST(EnginePosition, StartposMovesAnswerForThePositionAfterE4E5) {
  BookDir dir;
  const std::string afterMoves = RunEngine(dir.path(), "position startpos moves e2e4 e7e5\ngo\nquit\n");
  const std::string fromFen = RunEngine(
      dir.path(), "position fen rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e6 0 2\ngo\nquit\n");
  const std::string fromStart = RunEngine(dir.path(), "position startpos\ngo\nquit\n");
  EXPECT_EQ(afterMoves, fromFen);
  EXPECT_NE(afterMoves.find("info BookMove\n"), std::string::npos) << afterMoves;
  const std::vector<std::string> legal = test_support::StockfishLegalMoves("position startpos moves e2e4 e7e5");
  ASSERT_EQ(legal.size(), 29u);
  EXPECT_NE(std::find(legal.begin(), legal.end(), LastBestMove(afterMoves)), legal.end()) << afterMoves;
  EXPECT_NE(LastBestMove(afterMoves), LastBestMove(fromStart));
}

// Knight moves that come back to the start, repeated up to the last byte of an
// item (1 MiB); the moves after the cut would leave the start position. The
// blanks after "moves" put the cut inside the first move text after the knight moves.
TEST(EnginePosition, OverlongLinePlaysOnlyTheMovesInItsFirstMebibyte) {
  const std::size_t limit = frontend::kMaxItemLength;
  const std::vector<std::string> shuffle = {"g1f3", "g8f6", "f3g1", "f6g8"};
  std::string line = "position startpos moves          ";
  std::vector<std::string> moves;
  while (line.size() + 5 + 3 <= limit) {
    moves.push_back(shuffle[moves.size() % 4]);
    line += " " + moves.back();
  }
  const std::size_t kept = moves.size();
  ASSERT_EQ(kept % 4, 0u);
  for (const char* tail : {"e2e4", "e7e5", "d2d4", "e5d4"}) {
    moves.push_back(tail);
    line += std::string(" ") + tail;
  }
  // The first item ends "... f6g8 e2"; the next one begins "e4 e7e5".
  ASSERT_EQ(line.substr(limit - 7, 7), "f6g8 e2");
  ASSERT_EQ(line.substr(limit, 2), "e4");
  BookDir dir;
  const std::string cut = RunEngine(dir.path(), line + "\ngo\nquit\n");
  const std::string cutFen = TrackerFen(kStart, moves, kept);
  const std::string allFen = TrackerFen(kStart, moves, moves.size());
  const std::string expected = RunEngine(dir.path(), "position fen " + cutFen + "\ngo\nquit\n");
  const std::string whole = RunEngine(dir.path(), "position fen " + allFen + "\ngo\nquit\n");
  EXPECT_EQ(cut, expected) << "kept " << kept << " moves: " << cutFen;
  EXPECT_NE(LastBestMove(cut), LastBestMove(whole)) << "the test needs positions with different answers";
}

// Lines far beyond 4096 bytes, as long games send them, are played whole: the
// answer is a legal move of the side to move in the position after the last move.
TEST(EnginePosition, LongGameLinesAreAnsweredForTheirLastPosition) {
  std::string fromStart = "position startpos moves";
  for (int i = 0; i < 204; ++i) fromStart += " g1f3 g8f6 f3g1 f6g8";
  fromStart += " e2e4";
  // The blanks after "moves" would have put the old 4096-byte cut after 800 moves, White to move.
  std::string fromFen = "position fen r1bqkb1r/pppp1ppp/2n2n2/4p3/4P3/2N2N2/PPPP1PPP/R1BQKB1R w KQkq - 4 4 moves      ";
  while (fromFen.size() < 6000) fromFen += " f3g1 f6g8 g1f3 g8f6";
  fromFen += " d2d4";
  for (const std::string& command : {fromStart, fromFen}) {
    ASSERT_GT(command.size(), 4096u);
    TempDir dir;
    const std::string answer = LastBestMove(RunEngine(dir.path(), command + "\ngo\nquit\n"));
    const std::vector<std::string> legal = test_support::StockfishLegalMoves(command);
    ASSERT_FALSE(legal.empty());
    EXPECT_NE(std::find(legal.begin(), legal.end(), answer), legal.end()) << answer << " after " << command.substr(0, 100);
  }
}

// After every one of the first plies of each game and every seventh after
// that, the engine's current FEN is read back through its log. Another build (Wine, Node,
// qemu) follows every eighth game: what could differ there is the build, not the tracking,
// which this build checks game for game.
TEST(EnginePosition, RealGamesReachTheEngineFenForFen) {
  const std::vector<RecordedGame> games = tracker_test::RecordedGames();
  ASSERT_GE(games.size(), 250u);
  constexpr std::size_t kWorkers = 16;
  const std::size_t stride = kWorkers * (test_support::UnderRunner() ? 8 : 1);
  std::vector<std::future<std::string>> failures;
  for (std::size_t worker = 0; worker < kWorkers; ++worker) {
    failures.push_back(std::async(std::launch::async, [&games, worker, stride] {
      std::string found;
      for (std::size_t index = worker * (stride / kWorkers); index < games.size() && found.empty(); index += stride) {
        const RecordedGame& game = games[index];
        std::string input;
        std::vector<std::string> expected;
        for (std::size_t ply = 0; ply <= game.moves.size(); ++ply) {
          if (ply > 12 && ply % 7 != 0 && ply != game.moves.size()) continue;
          const std::string removal = KingRemoval(TrackerFen(game.startFen, game.moves, ply));
          std::vector<std::string> played(game.moves.begin(), game.moves.begin() + static_cast<long>(ply));
          played.push_back(removal);
          input += game.head + " moves" + Join(played, played.size()) + "\ngo\n";
          expected.push_back(TrackerFen(game.startFen, played, played.size()));
        }
        TempDir dir;
        const std::string output = RunEngine(dir.path(), input + "quit\n");
        const std::vector<std::string> refused = RefusedFens(dir.path());
        if (refused != expected) {
          found += "game " + std::to_string(index) + ": " + std::to_string(refused.size()) + " of " +
                   std::to_string(expected.size()) + " refused FENs read back\n";
          for (std::size_t at = 0; at < std::min(refused.size(), expected.size()); ++at) {
            if (refused[at] != expected[at]) {
              found += "  engine  " + refused[at] + "\n  tracker " + expected[at] + "\n";
              break;
            }
          }
        }
      }
      return found;
    }));
  }
  for (auto& failure : failures) EXPECT_EQ(failure.get(), "");
}

// Each command ends with a move that takes the black king, so "go" refuses
// the position and logs the engine's FEN.
struct LoggedFlow {
  const char* name;
  const char* command;
  const char* loggedFen;
};

class PositionFlows : public testing::TestWithParam<LoggedFlow> {};

TEST_P(PositionFlows, LeaveTheFenInTheLog) {
  TempDir dir;
  RunEngine(dir.path(), std::string(GetParam().command) + "\ngo\nquit\n");
  EXPECT_EQ(RefusedFens(dir.path()), std::vector<std::string>{GetParam().loggedFen});
}

INSTANTIATE_TEST_SUITE_P(
    Commands, PositionFlows,
    testing::Values(
        // A four-character text reaching the last rank becomes a queen.
        LoggedFlow{"QueenByDefault", "position startpos moves a2a4 b7b5 a4b5 a7a6 b5a6 c8b7 a6b7 b8c6 b7a8 e3e8",
                   "Q2q1bnr/2pppppp/2n5/8/8/8/1PPPPPPP/RNBQKBNR w KQk - 0 6"},
        // The rank 1b1b4 holds the text b1b4; only the moves after the FEN count.
        LoggedFlow{"OnlyMovesAfterTheFen", "position fen 4k3/8/8/8/8/8/1b1b4/4K3 w - - 0 1 moves e1f1 a5e8",
                   "8/8/8/8/8/8/1b1b4/5K2 w - - 0 2"},
        LoggedFlow{"QueenByDefaultAfterAFen", "position fen 4k3/P7/8/8/8/8/8/4K3 w - - 0 1 moves a7a8 b5e8", "Q7/8/8/8/8/8/8/4K3 w - - 0 2"},
        // A FEN that fails the check plays no move and stays as written.
        LoggedFlow{"InvalidFenPlaysNothing", "position fen 8/8/8/8/8/8/8/8 w - - 0 1 moves e2e4", "8/8/8/8/8/8/8/8 w - - 0 1"}),
    [](const testing::TestParamInfo<LoggedFlow>& info) { return info.param.name; });

TEST(FenTool, PrintsTheTrackersFenAfterTheMoves) {
  int status = -1;
  EXPECT_EQ(test_support::RunShell(test_support::ToolCommand() + " fen startpos e2e4 e7e5", &status),
            "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e6 0 2\n");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(test_support::RunShell(test_support::ToolCommand() +
                                       " fen '4k2r/8/8/8/8/8/8/4K2B w k - 0 1' h1h8", &status),
            "4k2B/8/8/8/8/8/8/4K3 b - - 0 1\n");
  // An unquoted FEN would pass its second word as a move: refused.
  const std::string refused =
      test_support::RunShell(test_support::ToolCommand() + " fen 4k3/8/8/8/8/8/8/4K3 w - - 0 1 2>&1", &status);
  EXPECT_NE(refused.find("not a move text"), std::string::npos) << refused;
  EXPECT_EQ(status, 2);
}

}  // namespace
