// Milliseconds per solver call over real positions without mate, the mate-in-2 and
// mate-in-3 puzzle sets and the mates of real play: median, 90th percentile and
// maximum, plus the largest node count (to keep the node budget well above any real
// need). Times are the thread's CPU time per call.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "matesolver/mate_solver.h"
#include "rules/rules.h"

namespace {

// CPU time of this thread: other programs on the machine do not inflate the figures.
double ThreadMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

std::vector<rules::Position> LoadPositions(const std::string& file) {
  std::vector<rules::Position> positions;
  std::ifstream in(std::string(BRINDLET_TEST_DATA) + "/matesolver/" + file);
  std::string line;
  while (std::getline(in, line)) {
    if (auto position = rules::Position::FromFen(line)) positions.push_back(*position);
  }
  return positions;
}

void SolveSet(benchmark::State& state, const std::string& file) {
  const std::vector<rules::Position> positions = LoadPositions(file);
  std::vector<double> milliseconds;
  std::uint64_t maxNodes = 0;
  int mates = 0;
  for (auto _ : state) {
    milliseconds.clear();
    mates = 0;
    for (const rules::Position& position : positions) {
      const double start = ThreadMilliseconds();
      const matesolver::MateResult result = matesolver::FindMate(position, 3);
      milliseconds.push_back(ThreadMilliseconds() - start);
      maxNodes = std::max(maxNodes, result.nodes);
      mates += result.mateIn > 0;
      benchmark::DoNotOptimize(result);
    }
  }
  std::sort(milliseconds.begin(), milliseconds.end());
  if (milliseconds.empty()) return;
  const auto at = [&](double fraction) {
    return milliseconds[std::min(milliseconds.size() - 1, static_cast<std::size_t>(fraction * milliseconds.size()))];
  };
  state.counters["positions"] = static_cast<double>(positions.size());
  state.counters["mates"] = mates;
  state.counters["median_ms"] = at(0.5);
  state.counters["p90_ms"] = at(0.9);
  state.counters["max_ms"] = milliseconds.back();
  state.counters["max_nodes"] = static_cast<double>(maxNodes);
}

void BM_NoMateRealPlay(benchmark::State& state) { SolveSet(state, "no_mate.txt"); }
void BM_MateInTwoPuzzles(benchmark::State& state) { SolveSet(state, "mate_in_2.txt"); }
void BM_MateInThreePuzzles(benchmark::State& state) { SolveSet(state, "mate_in_3.txt"); }
void BM_MatesOfRealPlay(benchmark::State& state) { SolveSet(state, "real_play_mates.txt"); }

BENCHMARK(BM_NoMateRealPlay)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MateInTwoPuzzles)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MateInThreePuzzles)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MatesOfRealPlay)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
