// The stop signals (SIGTERM, SIGINT, SIGHUP) end a run as "quit" does. They are the only
// tests that see a stop signal left out or never noticed, so they are in the fast set.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <optional>
#include <string>

#include "tests/support/engine_process.h"

namespace {

using test_support::EngineProcess;
using test_support::ReadLines;
using test_support::TempDir;

// Writes the input and reads the engine's answers up to and including "readyok".
void StartAndWaitForReadyok(EngineProcess& engine, const std::string& input) {
  ASSERT_TRUE(engine.Write(input));
  std::optional<std::string> line;
  while ((line = engine.ReadLine(std::chrono::seconds(10))) && *line != "readyok\n") {
  }
  ASSERT_TRUE(line.has_value());
}

void ExpectLogOfUciAndIsready(const TempDir& dir) {
  const auto log = ReadLines(dir.path() / "brindlet.log");
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[1], "brindlet __FB_MAINPROC__ (32) [uci]");
  EXPECT_EQ(log[2], "brindlet __FB_MAINPROC__ (32) [isready]");
}

// A GUI that ends the engine with a signal, right after its start-up check, still finds
// every command in the log, and the engine leaves as on "quit".
TEST(StopSignals, EndTheRunAsQuitDoes) {
  if (test_support::UnderRunner()) GTEST_SKIP() << "the signal would reach the runner, not the engine";
  for (const int number : {SIGTERM, SIGINT, SIGHUP}) {
    SCOPED_TRACE(number);
    TempDir dir;
    EngineProcess engine(dir.path());
    // The last item is not finished when the signal comes: it is dropped.
    StartAndWaitForReadyok(engine, "uci\nisready\nposition startpos mo");
    kill(engine.pid(), number);
    EXPECT_EQ(engine.ReadAll(std::chrono::seconds(10)), "");
    EXPECT_EQ(engine.Wait(), 0);
    ExpectLogOfUciAndIsready(dir);
  }
}

// A signal that comes while the engine waits for the rest of an item ends the run before
// that item: a "go" without its line end is never answered. The pause gives the engine the
// time to reach that wait; whenever the signal comes, the outcome must be the same.
TEST(StopSignals, AnItemBeingReadWhenTheSignalComesIsDropped) {
  if (test_support::UnderRunner()) GTEST_SKIP() << "the signal would reach the runner, not the engine";
  TempDir dir;
  EngineProcess engine(dir.path());
  StartAndWaitForReadyok(engine, "uci\nisready\ngo");
  usleep(300000);
  kill(engine.pid(), SIGTERM);
  EXPECT_EQ(engine.ReadAll(std::chrono::seconds(10)), "");
  EXPECT_EQ(engine.Wait(), 0);
  ExpectLogOfUciAndIsready(dir);
}

}  // namespace
