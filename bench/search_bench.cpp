// Speed of the engine's own search: whole BestMove calls on positions from
// real play, and the move generator alone. Prints figures; asserts nothing.
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <vector>

#include "search/best_move.h"
#include "search/load_search_position.h"
#include "tests/search/reference/reference_moves.h"

namespace {

std::vector<std::string> BenchPositions() {
  std::ifstream in(std::string(BRINDLET_TEST_DATA) + "/search/bench_positions.txt");
  std::vector<std::string> fens;
  for (std::string line; std::getline(in, line);)
    if (!line.empty() && line[0] != '#') fens.push_back(line);
  return fens;
}

void BM_BestMoveStartPosition(benchmark::State& state) {
  uint64_t moves = 0;
  for (auto _ : state) {
    const search::BestMoveReport report = search::AnalyseBestMove("");
    moves += report.movesTried;
  }
  state.counters["moves/s"] = benchmark::Counter(static_cast<double>(moves), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BestMoveStartPosition);

void BM_BestMoveSuite(benchmark::State& state) {
  const std::vector<std::string> fens = BenchPositions();
  uint64_t moves = 0;
  for (auto _ : state) {
    for (const std::string& fen : fens) moves += search::AnalyseBestMove(fen).movesTried;
  }
  state.counters["moves/s"] = benchmark::Counter(static_cast<double>(moves), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BestMoveSuite)->Unit(benchmark::kMillisecond);

void BM_GenerateAllMoves(benchmark::State& state) {
  const std::vector<std::string> fens = BenchPositions();
  std::vector<search::SearchPosition> positions(fens.size());
  for (size_t i = 0; i < fens.size(); ++i) {
    positions[i] = search::SearchPosition{};
    search::LoadSearchPosition(positions[i], fens[i]);
  }
  uint64_t generated = 0;
  for (auto _ : state) {
    for (search::SearchPosition& position : positions) {
      search_reference::GenerateAllMoves(position);
      generated += static_cast<uint64_t>(position.moveCount);
    }
  }
  state.counters["moves/s"] = benchmark::Counter(static_cast<double>(generated), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_GenerateAllMoves);

}  // namespace

BENCHMARK_MAIN();
