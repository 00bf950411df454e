// The whole engine over its pipes: wall time from writing "go" to reading "bestmove" for
// real positions, with the engine already waiting in its read (so the loop's 10 ms pause
// before each read is not counted), then the engine's peak resident memory.
//
//   engine_bench [COUNT]   (default 1000 positions from tests/data/games/positions.txt)
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/engine_process.h"

namespace {

std::vector<std::string> SpreadPositions(size_t count) {
  std::vector<std::string> all;
  std::ifstream in(std::string(BRINDLET_TEST_DATA) + "/games/positions.txt");
  for (std::string line; std::getline(in, line);) all.push_back(line);
  std::vector<std::string> chosen;
  if (all.empty()) return chosen;
  for (size_t i = 0; i < count; ++i) chosen.push_back(all[i * all.size() / count]);
  return chosen;
}

double Percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  return values[static_cast<size_t>(fraction * static_cast<double>(values.size() - 1))];
}

// Reads lines until one starts with `prefix`; false, with a message, if the engine stops
// answering first, so the bench never waits forever.
bool ReadUntil(test_support::EngineProcess& engine, const std::string& prefix) {
  for (;;) {
    const std::optional<std::string> line = engine.ReadLine();
    if (!line) {
      std::fprintf(stderr, "engine_bench: no line starting \"%s\" from the engine\n", prefix.c_str());
      return false;
    }
    if (line->rfind(prefix, 0) == 0) return true;
  }
}

}  // namespace

int main(int argc, char** argv) {
  const size_t count = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1000;
  const std::vector<std::string> positions = SpreadPositions(count);
  if (positions.empty()) {
    std::fprintf(stderr, "engine_bench: no positions\n");
    return 1;
  }
  test_support::TempDir dir;  // no books: every go asks the mate solver and then the search
  test_support::EngineProcess engine(dir.path());
  std::vector<double> milliseconds;
  for (const std::string& fen : positions) {
    engine.Write("position fen " + fen + "\nisready\n");
    if (!ReadUntil(engine, "readyok")) return 1;
    usleep(15000);  // the loop has paused and waits in its read
    const auto start = std::chrono::steady_clock::now();
    engine.Write("go\n");
    if (!ReadUntil(engine, "bestmove ")) return 1;
    milliseconds.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  engine.Write("quit\n");
  engine.CloseInput();
  engine.ReadAll();
  engine.Wait();
  std::printf("engine over pipes: %zu positions, go to bestmove ms: median %.3f  p90 %.3f  max %.3f\n",
              milliseconds.size(), Percentile(milliseconds, 0.5), Percentile(milliseconds, 0.9),
              Percentile(milliseconds, 1.0));
  std::printf("engine peak RSS: %ld kB\n", engine.PeakRssKilobytes());
  return 0;
}
