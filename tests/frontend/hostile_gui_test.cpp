// The engine under GUIs that misbehave: cut input, kills, floods of commands. (The stop
// signals, in the fast set, are in stop_signals_test.cpp.)
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/support/engine_process.h"

namespace {

using test_support::EngineProcess;
using test_support::ReadLines;
using test_support::RunEngine;
using test_support::TempDir;

size_t CountOf(const std::string& text, const std::string& piece) {
  size_t count = 0;
  for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++count;
  return count;
}

TEST(HostileGui, InputClosedInTheMiddleOfALine) {
  TempDir dir;
  int status = -1;
  EXPECT_EQ(RunEngine(dir.path(), "uci\nisready", &status), "id name Brindlet\nid author Tavren Oskalde\nuciok\nreadyok\n");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(RunEngine(dir.path(), "isready\n\"isre", &status), "readyok\n");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(RunEngine(dir.path(), "position startpos moves e2e4 e7", &status), "");
  EXPECT_EQ(status, 0);
}

TEST(HostileGui, KilledDuringGoThenRestartedInTheSameDirectory) {
  TempDir dir;
  {
    EngineProcess engine(dir.path());
    engine.Write("position startpos moves e2e4 e7e5 g1f3 b8c6 f1b5\ngo\n");
    // Killed on an event, not after a time: as the first line of its answer comes, with
    // the game's commands read and its log still open.
    EXPECT_EQ(engine.ReadLine(std::chrono::seconds(30)), "info BestMove\n");
    engine.Kill();
    engine.Wait();
  }
  int status = -1;
  const std::string out = RunEngine(dir.path(), "isready\nposition startpos moves e2e4\ngo\nquit\n", &status);
  EXPECT_EQ(out, "readyok\ninfo BestMove\nbestmove e7e5\n");
  EXPECT_EQ(status, 0);
  // The new run's log starts afresh.
  const auto log = ReadLines(dir.path() / "brindlet.log");
  ASSERT_EQ(log.size(), 6u);
  EXPECT_EQ(log[1], "brindlet __FB_MAINPROC__ (32) [isready]");
}

TEST(HostileGui, AThousandGoInARowGetAThousandEqualAnswers) {
  TempDir dir;
  std::string input = "position startpos moves e2e4\n";
  for (int i = 0; i < 1000; ++i) input += "go\n";
  int status = -1;
  const std::string out = RunEngine(dir.path(), input, &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(CountOf(out, "bestmove e7e5\n"), 1000u);
  EXPECT_EQ(CountOf(out, "\n"), 2000u);
}

// Peak memory of one run on a stream of "position startpos moves ..." lines of the given
// size. The blanks after "moves" make each 1 MiB cut fall after a whole round of knight
// moves, so a cut line still leaves the start position.
long PeakRssForPositionStream(size_t lineBytes, size_t bytes) {
  // Started before the input is built: the child's peak counts the pages it shares with
  // this process until it starts the engine.
  TempDir dir;
  EngineProcess engine(dir.path());
  std::string line = "position startpos moves             ";
  while (line.size() < lineBytes) line += " g1f3 g8f6 f3g1 f6g8";
  line += "\n";
  std::string input;
  while (input.size() < bytes) input += line;
  input += "go\nquit\n";
  std::string out;
  for (size_t offset = 0; offset < input.size(); offset += 1 << 16) {
    if (!engine.Write(std::string_view(input).substr(offset, 1 << 16))) break;
    out += engine.ReadAll(std::chrono::milliseconds(1));
  }
  engine.CloseInput();
  out += engine.ReadAll();
  EXPECT_EQ(engine.Wait(), 0);
  EXPECT_EQ(out, "info BestMove\nbestmove e2e4\n");
  return engine.PeakRssKilobytes();
}

TEST(HostileGui, MemoryStaysFlatOverALongStreamOfPositionLines) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer keeps freed memory in quarantine, so its peak grows by design";
#endif
  if (test_support::UnderRunner()) GTEST_SKIP() << "the peak memory read would be the runner's";
  const long small = PeakRssForPositionStream(4000, 100 * 1000);
  const long large = PeakRssForPositionStream(4000, 10 * 1000 * 1000);
  std::printf("peak RSS: %ld kB after 100 kB of position lines, %ld kB after 10 MB\n", small, large);
  EXPECT_LT(large, small + 8 * 1024);
}

// Lines longer than the longest item (1 MiB) are cut there and their rest is read as
// further items; memory does not grow with their number.
TEST(HostileGui, LinesOverAMebibyteAreCutAndMemoryStaysFlat) {
  const size_t mebibyte = 1024 * 1024;
  TempDir dir;
  std::string line = "position startpos moves             ";
  while (line.size() < mebibyte + mebibyte / 2) line += " g1f3 g8f6 f3g1 f6g8";
  int status = -1;
  EXPECT_EQ(RunEngine(dir.path(), line + "\nisready\ngo\nquit\n", &status), "readyok\ninfo BestMove\nbestmove e2e4\n");
  EXPECT_EQ(status, 0);
  const auto log = ReadLines(dir.path() / "brindlet.log");
  ASSERT_EQ(log.size(), 7u);
  const std::string tag = "brindlet __FB_MAINPROC__ (32) [";
  EXPECT_TRUE(log[1] == tag + line.substr(0, mebibyte) + "]");
  EXPECT_TRUE(log[2] == tag + line.substr(mebibyte + 1) + "]");
#if !defined(__SANITIZE_ADDRESS__)
  if (test_support::UnderRunner()) return;  // the peak memory read would be the runner's
  const long one = PeakRssForPositionStream(mebibyte + mebibyte / 2, 1);
  const long many = PeakRssForPositionStream(mebibyte + mebibyte / 2, 10 * 1000 * 1000);
  std::printf("peak RSS: %ld kB after one 1.5 MiB position line, %ld kB after 10 MB of them\n", one, many);
  EXPECT_LT(many, one + 8 * 1024);
#endif
}

// valgrind's memcheck on a short session covering every command and every move source.
TEST(HostileGui, ValgrindFindsNoErrors) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the engine under test is built with AddressSanitizer";
#endif
  if (test_support::UnderRunner()) GTEST_SKIP() << "valgrind would check the runner, not the engine";
  if (test_support::RunShell("command -v valgrind").empty()) GTEST_SKIP() << "valgrind is not installed";
  TempDir dir;
  EngineProcess engine(dir.path(), {"/usr/bin/valgrind", "--quiet", "--error-exitcode=99", "--leak-check=full",
                                    "--errors-for-leak-kinds=definite", BRINDLET_BINARY});
  engine.Write(
      "uci\nisready\nucinewgame\nposition startpos moves e2e4 e7e5 g1f3\ngo\n"
      "position fen r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4\ngo\n"
      "position fen 8/8/8/8/8/8/8/8 w - -\ngo\nquit\n");
  engine.CloseInput();
  const std::string out = engine.ReadAll(std::chrono::seconds(300));
  EXPECT_EQ(engine.Wait(), 0) << out;
  EXPECT_EQ(CountOf(out, "bestmove "), 3u);
}

}  // namespace
