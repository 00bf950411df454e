// The launcher, games/brindlet, as a GUI starts it: from the installed tree that
// `cmake --install` lays out (the package's tree), with a home of the test's own.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/engine_process.h"

namespace {

namespace fs = std::filesystem;
using test_support::EngineProcess;
using test_support::ReadLines;
using test_support::TempDir;

fs::path Tree() {
  const char* tree = std::getenv("BRINDLET_PACKAGE_TREE");
  return tree != nullptr ? fs::path(tree) : fs::path();
}

// The launcher under a clean environment: only PATH and the given variables.
std::vector<std::string> LauncherCommand(const std::vector<std::string>& environment) {
  std::vector<std::string> argv = {"/usr/bin/env", "-i", "PATH=/usr/bin:/bin"};
  argv.insert(argv.end(), environment.begin(), environment.end());
  argv.push_back((Tree() / "games" / "brindlet").string());
  return argv;
}

// Reads until the line `wanted` and returns every line read, `wanted` included.
std::string ReadUntil(EngineProcess& engine, const std::string& wanted) {
  std::string seen;
  while (std::optional<std::string> line = engine.ReadLine()) {
    seen += *line;
    if (*line == wanted + "\n") break;
  }
  return seen;
}

// The answers of one run that asks for a move in the position and ends with "quit".
std::string StartPositionMove(const fs::path& from, const std::vector<std::string>& environment,
                              const std::string& position = "position startpos") {
  EngineProcess engine(from, LauncherCommand(environment));
  engine.Write("uci\nisready\n" + position + "\ngo\nquit\n");
  const std::string out = engine.ReadAll();
  EXPECT_EQ(engine.Wait(), 0) << out;
  return out;
}

constexpr const char* kDefaultBookAnswer = "info BookMove\nbestmove e2e4\n";
constexpr const char* kLogTag = "brindlet __FB_MAINPROC__ (32) [";

class Launcher : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fs::is_regular_file(Tree() / "games" / "brindlet")) << "no installed tree at " << Tree();
  }
  fs::path Slot(int number) const { return home.path() / ".local" / "state" / "brindlet" / std::to_string(number); }
  std::vector<std::string> Home() const { return {"HOME=" + home.path().string()}; }
  TempDir home;
};

TEST_F(Launcher, DefaultBooksFromTheRootAndFromAReadOnlyFolder) {
  std::string out = StartPositionMove("/", Home());
  EXPECT_NE(out.find(kDefaultBookAnswer), std::string::npos) << out;
  EXPECT_TRUE(fs::is_regular_file(Slot(1) / "brindlet.log"));

  TempDir readOnly;
  fs::permissions(readOnly.path(), fs::perms::owner_read | fs::perms::owner_exec);
  out = StartPositionMove(readOnly.path(), Home());
  fs::permissions(readOnly.path(), fs::perms::owner_all);
  EXPECT_NE(out.find(kDefaultBookAnswer), std::string::npos) << out;
  EXPECT_TRUE(fs::is_empty(readOnly.path()));
}

// Without a usable state folder (no home, or one where the state folder cannot be made), the
// slots are in the user's own folder TMPDIR/brindlet-UID, mode 0700, which later runs reuse.
fs::path UsersTempFolder(const fs::path& temp) { return temp / ("brindlet-" + std::to_string(geteuid())); }

std::vector<fs::path> Entries(const fs::path& folder) {
  std::vector<fs::path> entries;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) entries.push_back(entry.path().filename());
  std::sort(entries.begin(), entries.end());
  return entries;
}

TEST_F(Launcher, WithoutAStateFolderItRunsInAReusedFolderOfTheUsersOwn) {
  TempDir temp;
  for (const std::vector<std::string>& environment :
       {std::vector<std::string>{}, std::vector<std::string>{"XDG_STATE_HOME=/dev/null/state", "HOME=/dev/null"}}) {
    std::vector<std::string> withTemp = environment;
    withTemp.push_back("TMPDIR=" + temp.path().string());
    const std::string out = StartPositionMove("/", withTemp);
    EXPECT_NE(out.find(kDefaultBookAnswer), std::string::npos) << out;
  }
  const fs::path folder = UsersTempFolder(temp.path());
  EXPECT_EQ(Entries(temp.path()), std::vector<fs::path>{folder.filename()});
  EXPECT_EQ(Entries(folder), std::vector<fs::path>{"1"});
  EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all);
  EXPECT_EQ(ReadLines(folder / "1" / "brindlet.log").back(), kLogTag + std::string("quit]"));
}

// A hundred runs without a home, four at a time (each holds its slot until all four said
// uciok): they leave four slots and no other folder.
TEST_F(Launcher, AHundredRunsWithoutAHomeLeaveNoMoreFoldersThanRanAtOnce) {
  TempDir temp;
  constexpr int kAtOnce = 4;
  for (int round = 0; round < 100 / kAtOnce; ++round) {
    std::vector<std::unique_ptr<EngineProcess>> engines;
    for (int i = 0; i < kAtOnce; ++i) {
      engines.push_back(std::make_unique<EngineProcess>("/", LauncherCommand({"TMPDIR=" + temp.path().string()})));
      engines.back()->Write("uci\n");
      ASSERT_NE(ReadUntil(*engines.back(), "uciok").find("uciok"), std::string::npos);
    }
    for (const std::unique_ptr<EngineProcess>& engine : engines) {
      engine->Write("position startpos\ngo\nquit\n");
      const std::string out = engine->ReadAll();
      ASSERT_NE(out.find(kDefaultBookAnswer), std::string::npos) << out;
      ASSERT_EQ(engine->Wait(), 0);
    }
  }
  const fs::path folder = UsersTempFolder(temp.path());
  EXPECT_EQ(Entries(temp.path()), std::vector<fs::path>{folder.filename()});
  EXPECT_EQ(Entries(folder), (std::vector<fs::path>{"1", "2", "3", "4"}));
}

// XDG_RUNTIME_DIR, where set, holds that folder instead: XDG_RUNTIME_DIR/brindlet.
TEST_F(Launcher, WithoutAStateFolderTheRuntimeFolderComesFirst) {
  TempDir runtime;
  TempDir temp;
  const std::string out =
      StartPositionMove("/", {"XDG_RUNTIME_DIR=" + runtime.path().string(), "TMPDIR=" + temp.path().string()});
  EXPECT_NE(out.find(kDefaultBookAnswer), std::string::npos) << out;
  EXPECT_TRUE(fs::is_regular_file(runtime.path() / "brindlet" / "1" / "brindlet.log"));
  EXPECT_TRUE(fs::is_empty(temp.path()));
}

// A folder of that name that is a link, or that another user owns, is not used: the launcher
// refuses to start and writes nothing there.
TEST_F(Launcher, AFolderOfThatNameThatIsALinkOrAnotherUsersIsNotUsed) {
  TempDir temp;
  TempDir elsewhere;
  const fs::path folder = UsersTempFolder(temp.path());
  const auto refused = [&] {
    EngineProcess engine("/", LauncherCommand({"TMPDIR=" + temp.path().string()}));
    engine.CloseInput();
    const std::string out = engine.ReadAll();
    EXPECT_EQ(out.find("bestmove"), std::string::npos) << out;
    EXPECT_NE(engine.Wait(), 0);
  };
  fs::create_directory_symlink(elsewhere.path(), folder);
  refused();
  EXPECT_TRUE(fs::is_empty(elsewhere.path()));
  fs::remove(folder);

  if (geteuid() != 0) GTEST_SKIP() << "only root can give a folder to another user";
  fs::create_directory(folder);
  fs::permissions(folder, fs::perms::all);
  ASSERT_EQ(chown(folder.c_str(), 65534, 65534), 0);
  refused();
  EXPECT_TRUE(fs::is_empty(folder));
}

// Two instances at once get two slots and write two complete logs; a third, started after
// both ended, takes slot 1 again.
TEST_F(Launcher, InstancesAtOnceGetTheirOwnSlotsAndSlotsAreReused) {
  {
    EngineProcess first("/", LauncherCommand(Home()));
    first.Write("uci\n");
    ASSERT_NE(ReadUntil(first, "uciok").find("uciok"), std::string::npos);
    EngineProcess second("/", LauncherCommand(Home()));
    second.Write("uci\n");
    ASSERT_NE(ReadUntil(second, "uciok").find("uciok"), std::string::npos);
    first.Write("position startpos\ngo\n");
    second.Write("position startpos moves e2e4\ngo\n");
    EXPECT_NE(ReadUntil(first, "bestmove e2e4").find("info BookMove"), std::string::npos);
    EXPECT_NE(ReadUntil(second, "bestmove e7e5").find("info BookMove"), std::string::npos);
    first.Write("quit\n");
    second.Write("quit\n");
    EXPECT_EQ(first.Wait(), 0);
    EXPECT_EQ(second.Wait(), 0);
  }
  const std::vector<std::string> one = ReadLines(Slot(1) / "brindlet.log");
  const std::vector<std::string> two = ReadLines(Slot(2) / "brindlet.log");
  ASSERT_FALSE(one.empty());
  ASSERT_FALSE(two.empty());
  EXPECT_EQ(one.back(), kLogTag + std::string("quit]"));
  EXPECT_EQ(two.back(), kLogTag + std::string("quit]"));
  EXPECT_NE(std::find(one.begin(), one.end(), kLogTag + std::string("position startpos]")), one.end());
  EXPECT_NE(std::find(two.begin(), two.end(), kLogTag + std::string("position startpos moves e2e4]")), two.end());

  const std::string out = StartPositionMove("/", Home());
  EXPECT_NE(out.find(kDefaultBookAnswer), std::string::npos) << out;
  // Only the third instance said "isready".
  const std::vector<std::string> again = ReadLines(Slot(1) / "brindlet.log");
  EXPECT_NE(std::find(again.begin(), again.end(), kLogTag + std::string("isready]")), again.end());
  EXPECT_FALSE(fs::exists(Slot(3)));
}

// A book in the user's data folder takes the place of the default one; removed, the default
// comes back. After 1. e4 the default tour book answers e7e5, the main book c7c5.
TEST_F(Launcher, TheUsersOwnBookWins) {
  const fs::path own = home.path() / ".local" / "share" / "brindlet";
  fs::create_directories(own);
  std::ofstream(own / "game.pgn") << "[Event \"own\"]\n[Result \"0-1\"]\n\n1. e4 c6 0-1\n";
  test_support::RunShell("cd " + own.string() + " && " + test_support::GamesProgram("polyglot") +
                         " make-book -pgn game.pgn -bin tourbook.bin -min-game 1 >/dev/null 2>&1");
  ASSERT_TRUE(fs::is_regular_file(own / "tourbook.bin"));
  const std::string afterE4 = "position startpos moves e2e4";
  std::string out = StartPositionMove("/", Home(), afterE4);
  EXPECT_NE(out.find("info BookMove\nbestmove c7c6\n"), std::string::npos) << out;

  fs::remove(own / "tourbook.bin");
  out = StartPositionMove("/", Home(), afterE4);
  EXPECT_NE(out.find("info BookMove\nbestmove e7e5\n"), std::string::npos) << out;
}

// "quit", the end of input and SIGTERM each leave a complete log and exit status 0, through
// the launcher.
TEST_F(Launcher, EveryWayOutLeavesACompleteLogAndStatusZero) {
  for (const char* way : {"quit", "end of input", "SIGTERM"}) {
    SCOPED_TRACE(way);
    EngineProcess engine("/", LauncherCommand(Home()));
    engine.Write("uci\nisready\n");
    ASSERT_NE(ReadUntil(engine, "readyok").find("readyok"), std::string::npos);
    if (std::string(way) == "quit") engine.Write("quit\n");
    if (std::string(way) == "end of input") engine.CloseInput();
    if (std::string(way) == "SIGTERM") kill(engine.pid(), SIGTERM);
    EXPECT_EQ(engine.Wait(), 0);
    const std::vector<std::string> log = ReadLines(Slot(1) / "brindlet.log");
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), kLogTag + std::string(std::string(way) == "quit" ? "quit]" : "isready]"));
  }
}

}  // namespace
