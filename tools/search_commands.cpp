#include <chrono>
#include <ctime>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "search/best_move.h"
#include "tools/commands.h"
#include "tools/installed_data.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The suite that comes with the sources, looked for in the working directory and each
// folder above it: found from the repository and from a build tree inside it alike.
// Elsewhere, the installed copy.
std::string FindDefaultSuite() {
  std::error_code error;
  std::filesystem::path folder = std::filesystem::current_path(error);
  while (!error && !folder.empty()) {
    const std::filesystem::path suite = folder / "tests" / "data" / "search" / "bench_positions.txt";
    std::error_code missing;
    if (std::filesystem::is_regular_file(suite, missing)) return suite.string();
    if (folder == folder.root_path()) break;
    folder = folder.parent_path();
  }
  return InstalledDataFile("bench_positions.fen");
}

}  // namespace

int RunBest(ToolArgs args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "usage: brindlet-tool best \"FEN\"\n");
    return 2;
  }
  const Clock::time_point start = Clock::now();
  const search::BestMoveReport report = search::AnalyseBestMove(args[0]);
  const double ms = MillisecondsSince(start);
  std::printf("bestmove %s code %d nodes %llu ms %.0f\n", report.bestMove.c_str(), report.resultCode,
              static_cast<unsigned long long>(report.movesTried), ms);
  for (const search::RootMoveReport& move : report.rootMoves) {
    if (move.tieBreak)
      std::printf("%s %d %d\n", move.move.c_str(), move.score, *move.tieBreak);
    else
      std::printf("%s %d -\n", move.move.c_str(), move.score);
  }
  return 0;
}

// Runs the search over a fixed suite of positions from real play (one FEN per
// line; the file may be given as the one argument) and prints the work done.
// The node total changes only when the search's results change.
int RunBench(ToolArgs args) {
  if (args.size() > 1) {
    std::fprintf(stderr, "usage: brindlet-tool bench [SUITE]\n");
    return 2;
  }
  const std::string path = args.empty() ? FindDefaultSuite() : args[0];
  if (path.empty()) {
    std::fprintf(stderr, "brindlet-tool bench: no tests/data/search/bench_positions.txt here or above and no installed suite; name a suite\n");
    return 1;
  }
  std::ifstream suite(path);
  if (!suite) {
    std::fprintf(stderr, "brindlet-tool bench: cannot read %s\n", path.c_str());
    return 1;
  }
  std::vector<std::string> fens;
  for (std::string line; std::getline(suite, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] != '#') fens.push_back(line);
  }
  unsigned long long totalNodes = 0;
  double totalMs = 0;
  std::vector<double> perPosition;
  // Processor time beside wall time: on a busy machine the wall clock also
  // counts the time other processes had the core.
  const std::clock_t cpuStart = std::clock();
  for (size_t i = 0; i < fens.size(); ++i) {
    const Clock::time_point start = Clock::now();
    const search::BestMoveReport report = search::AnalyseBestMove(fens[i]);
    const double ms = MillisecondsSince(start);
    totalNodes += report.movesTried;
    totalMs += ms;
    perPosition.push_back(ms);
    std::printf("%3zu %-6s nodes %10llu ms %8.2f  %s\n", i + 1, report.bestMove.c_str(),
                static_cast<unsigned long long>(report.movesTried), ms, fens[i].c_str());
  }
  std::printf("positions %zu\n", fens.size());
  std::printf("total nodes %llu\n", totalNodes);
  std::printf("total ms %.0f\n", totalMs);
  if (!perPosition.empty()) {
    std::sort(perPosition.begin(), perPosition.end());
    std::printf("ms per position: median %.3f p90 %.3f max %.3f\n", perPosition[(perPosition.size() - 1) / 2],
                perPosition[(perPosition.size() - 1) * 9 / 10], perPosition.back());
  }
  const double cpuMs = 1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
  std::printf("nodes per second %.0f\n", totalMs > 0 ? totalNodes / (totalMs / 1000.0) : 0.0);
  std::printf("total cpu ms %.0f\n", cpuMs);
  std::printf("nodes per cpu second %.0f\n", cpuMs > 0 ? totalNodes / (cpuMs / 1000.0) : 0.0);
  return 0;
}
