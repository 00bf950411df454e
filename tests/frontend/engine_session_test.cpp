// The real engine, started in a fresh working directory and driven through pipes.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/engine_process.h"

namespace {

using test_support::EngineProcess;
using test_support::ReadLines;
using test_support::RunEngine;
using test_support::TempDir;
using Strings = std::vector<std::string>;

const std::string kUciAnswer = "id name Brindlet\nid author Tavren Oskalde\nuciok\n";
const std::string kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

// hh:mm:ss with two digits each.
bool IsTimeOfDay(const std::string& text) {
  if (text.size() != 8 || text[2] != ':' || text[5] != ':') return false;
  for (size_t i : {0u, 1u, 3u, 4u, 6u, 7u}) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  return true;
}

// "bestmove " and a move text of four characters, or five with a promotion letter.
bool IsBestMoveLine(const std::string& line) {
  const std::string prefix = "bestmove ";
  if (line.rfind(prefix, 0) != 0) return false;
  const std::string move = line.substr(prefix.size());
  if (move.size() != 4 && !(move.size() == 5 && std::string("nbrq").find(move[4]) != std::string::npos)) return false;
  return move[0] >= 'a' && move[0] <= 'h' && move[1] >= '1' && move[1] <= '8' && move[2] >= 'a' && move[2] <= 'h' &&
         move[3] >= '1' && move[3] <= '8';
}

bool IsInfoLine(const std::string& line) {
  return line == "info BookMove" || line == "info SolveMate" || line == "info BestMove";
}

// The output cut into lines, each of which must end in LF alone.
Strings OutputLines(const std::string& out) {
  Strings lines;
  size_t start = 0;
  for (size_t end = out.find('\n'); end != std::string::npos; end = out.find('\n', start)) {
    lines.push_back(out.substr(start, end - start));
    start = end + 1;
  }
  EXPECT_EQ(start, out.size()) << "output does not end in LF";
  EXPECT_EQ(out.find('\r'), std::string::npos) << "output holds a CR";
  return lines;
}

std::string Tag(const std::string& command) { return "brindlet __FB_MAINPROC__ (32) [" + command + "]"; }

// The log without its first line, which carries the time of day.
Strings LogAfterStart(const TempDir& dir) {
  Strings lines = ReadLines(dir.path() / "brindlet.log");
  EXPECT_FALSE(lines.empty());
  if (lines.empty()) return lines;
  const std::string head = "brindlet __FB_MAINPROC__ (18) [";
  EXPECT_TRUE(lines[0].rfind(head, 0) == 0 && lines[0].back() == ']' &&
              IsTimeOfDay(lines[0].substr(head.size(), lines[0].size() - head.size() - 1)))
      << lines[0];
  lines.erase(lines.begin());
  return lines;
}

TEST(EngineSession, AnswersUciAndIsreadyByteForByte) {
  TempDir dir;
  int status = -1;
  const std::string out = RunEngine(dir.path(), "uci\n  isready\nisready \nIsready\nstop\nsetoption name x\nquit\n", &status);
  EXPECT_EQ(out, kUciAnswer + "readyok\n");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(LogAfterStart(dir), (Strings{Tag("uci"), Tag("isready"), Tag("isready "), Tag("Isready"), Tag("stop"),
                                          Tag("setoption name x"), Tag("quit")}));
}

TEST(EngineSession, SeveralItemsOnOneLineQuotesAndLineEnds) {
  TempDir dir;
  const std::string out = RunEngine(dir.path(), "isready,uci\r\n\"isready\" , \"u c i\"\n\nquit\r\n");
  EXPECT_EQ(out, "readyok\n" + kUciAnswer + "readyok\n");
  EXPECT_EQ(LogAfterStart(dir), (Strings{Tag("isready"), Tag("uci"), Tag("isready"), Tag("u c i"), Tag(""), Tag("quit")}));
}

TEST(EngineSession, QuitEndsTheRunAndNothingAfterItIsRead) {
  TempDir dir;
  int status = -1;
  EXPECT_EQ(RunEngine(dir.path(), "quit\nisready\n", &status), "");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(LogAfterStart(dir), Strings{Tag("quit")});
}

TEST(EngineSession, EndOfInputWithoutQuitActsOnTheLastItemAndExitsCleanly) {
  TempDir dir;
  int status = -1;
  EXPECT_EQ(RunEngine(dir.path(), "uci\nisready", &status), kUciAnswer + "readyok\n");
  EXPECT_EQ(status, 0);
  // The log was closed (and so flushed) as after "quit".
  EXPECT_EQ(LogAfterStart(dir), (Strings{Tag("uci"), Tag("isready")}));
}

TEST(EngineSession, GoOnValidAndInvalidFens) {
  TempDir dir;
  const std::string out = RunEngine(dir.path(),
                                    "position fen 4k3/8/8/8/8/8/4P3/4K3 w - - 0 1\ngo\n"
                                    "position fen 8/8/8/8/8/8/8/8 w - -\ngo\n"
                                    "position fen 4k3/8/8/8/8/8/8/4K4 w - e3 0 1\ngo infinite\n"
                                    "ucinewgame\ngo\nquit\n");
  const Strings lines = OutputLines(out);
  ASSERT_EQ(lines.size(), 6u) << out;
  EXPECT_TRUE(IsInfoLine(lines[0]) && IsBestMoveLine(lines[1])) << out;
  EXPECT_EQ(lines[2], "bestmove a1a1");
  EXPECT_EQ(lines[3], "bestmove a1a1");
  EXPECT_TRUE(IsInfoLine(lines[4]) && IsBestMoveLine(lines[5])) << out;
  const Strings log = LogAfterStart(dir);
  ASSERT_EQ(log.size(), 13u);
  EXPECT_EQ(log[5], "brindlet __FB_MAINPROC__ (68) [Invalid FEN string: \"\"]");
  EXPECT_EQ(log[8], "brindlet __FB_MAINPROC__ (68) [Invalid FEN string: \"4k3/8/8/8/8/8/8/4K4 w - e3 0 1\"]");
}

TEST(EngineSession, GoBeforeAnyPositionAnswersForTheStartPosition) {
  TempDir dir;
  TempDir other;
  const std::string first = RunEngine(dir.path(), "go\nquit\n");
  const std::string second = RunEngine(other.path(), "position fen " + kStart + "\ngo\nquit\n");
  EXPECT_EQ(first, second);
  EXPECT_NE(first.find("bestmove "), std::string::npos);
}

TEST(EngineSession, LongLineIsCutAndItsRestMatchesNoCommand) {
  TempDir dir;
  std::string line = "isready";
  line.resize(1024 * 1024, ' ');
  line += "isready\n";
  EXPECT_EQ(RunEngine(dir.path(), line + "quit\n"), "readyok\n");
  const Strings log = LogAfterStart(dir);
  ASSERT_EQ(log.size(), 3u);
  EXPECT_TRUE(log[0] == Tag(line.substr(0, 1024 * 1024))) << log[0].size();
  EXPECT_EQ(log[1], Tag("isready"));
}

TEST(EngineSession, BinaryBytesAndFloodsAreReadSafely) {
  TempDir dir;
  std::string input("\0\xff\xfe\x80garbage\0\n", 12);
  // A line of exactly the longest item: one pass of the loop.
  input += std::string(1024 * 1024, 'z');
  input += "\nisready\n";
  for (int i = 0; i < 300; ++i) input += "isready,";
  input += "\nquit\n";
  int status = -1;
  const std::string out = RunEngine(dir.path(), input, &status);
  EXPECT_EQ(status, 0);
  std::string expected;
  for (int i = 0; i < 301; ++i) expected += "readyok\n";
  EXPECT_EQ(out, expected);
}

// Every line on standard output ends in LF alone, whatever wrote it; the log keeps CR LF.
// Against a Windows build this checks CR LF instead: EngineProcess reads its CR LF as LF.
TEST(EngineSession, OutputLinesEndInLfAndLogLinesInCrLf) {
  TempDir dir;
  const std::string out = RunEngine(dir.path(),
                                    "uci\nisready\n"
                                    "position fen r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4\ngo\n"
                                    "position startpos moves e2e4\ngo\nposition fen 8/8/8/8/8/8/8/8 w - -\ngo\nquit\n");
  EXPECT_EQ(out.find('\r'), std::string::npos);
  const Strings lines = OutputLines(out);
  ASSERT_EQ(lines.size(), 9u) << out;
  EXPECT_EQ(lines[4], "info SolveMate");
  EXPECT_EQ(lines[6], "info BestMove");
  EXPECT_EQ(lines[8], "bestmove a1a1");
  const std::string log = test_support::ReadFile(dir.path() / "brindlet.log");
  size_t lineEnds = 0;
  for (size_t at = log.find('\n'); at != std::string::npos; at = log.find('\n', at + 1)) {
    ASSERT_TRUE(at > 0 && log[at - 1] == '\r') << "log line without CR at byte " << at;
    ++lineEnds;
  }
  EXPECT_EQ(lineEnds, 13u);
  EXPECT_EQ(log.back(), '\n');
}

TEST(EngineSession, AnswersReachThePipeWhileTheEngineRuns) {
  TempDir dir;
  EngineProcess engine(dir.path());
  ASSERT_TRUE(engine.Write("isready\n"));
  EXPECT_EQ(engine.ReadLine(std::chrono::seconds(10)), "readyok\n");
  ASSERT_TRUE(engine.Write("uci\n"));
  EXPECT_EQ(engine.ReadLine(std::chrono::seconds(10)), "id name Brindlet\n");
  ASSERT_TRUE(engine.Write("quit\n"));
  EXPECT_EQ(engine.Wait(), 0);
}

TEST(EngineSession, TwoRunsLeaveOnlyTheSecondRunsLog) {
  TempDir dir;
  RunEngine(dir.path(), "uci\nisready\nquit\n");
  RunEngine(dir.path(), "isready\nquit\n");
  EXPECT_EQ(LogAfterStart(dir), (Strings{Tag("isready"), Tag("quit")}));
}

TEST(EngineSession, WithoutALogFileEverythingElseWorks) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "brindlet.log");  // the log cannot be opened
  int status = -1;
  const std::string answers = kUciAnswer + "readyok\n";
  EXPECT_EQ(RunEngine(dir.path(), "uci\nisready\ngo\nquit\n", &status).substr(0, answers.size()), answers);
  EXPECT_EQ(status, 0);
}

TEST(EngineSession, ClosedOutputEndsTheEngineAsOnQuit) {
  TempDir dir;
  EngineProcess engine(dir.path());
  engine.CloseOutput();
  std::string many;
  for (int i = 0; i < 1000; ++i) many += "uci\n";
  engine.Write(many);
  EXPECT_EQ(engine.Wait(), 0);  // no SIGPIPE death
  EXPECT_EQ(LogAfterStart(dir).at(0), Tag("uci"));
}

}  // namespace
