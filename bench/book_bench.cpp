// The book lookup on the default books: the cost of a hit (start position), of a miss deep in
// a game, and per-call median and maximum over the distinct positions of the real games.
#include <benchmark/benchmark.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "book/book.h"

namespace {

const std::filesystem::path kData = BRINDLET_TEST_DATA;

bool FindOpening(const char* fen, char* out) {
  const std::optional<rules::Move> move = book::FindMove(fen);
  if (!move) return false;
  std::snprintf(out, 16, "%s", rules::ToUci(*move).c_str());
  return true;
}

void BM_FindOpeningHit(benchmark::State& state) {
  char move[16];
  for (auto _ : state) {
    benchmark::DoNotOptimize(FindOpening("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", move));
  }
}
BENCHMARK(BM_FindOpeningHit);

void BM_FindOpeningMiss(benchmark::State& state) {
  char move[16];
  for (auto _ : state) {
    benchmark::DoNotOptimize(FindOpening("r2q1rk1/pp2bppp/2n1pn2/3p4/3P4/2NBPN2/PP3PPP/R2Q1RK1 w - - 4 11", move));
  }
}
BENCHMARK(BM_FindOpeningMiss);

// Each distinct position of the real games once, timed call by call. The first pass also
// pays for reading the book's pages from disk into the mapping.
void PrintPerCallFigures(const char* pass) {
  std::ifstream file(kData / "games" / "positions.txt");
  std::vector<std::string> fens;
  for (std::string line; std::getline(file, line);) fens.push_back(line);
  std::vector<double> wall;
  std::vector<double> cpu;
  int hits = 0;
  char move[16];
  for (const std::string& fen : fens) {
    timespec cpuStart{};
    timespec cpuEnd{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpuStart);
    const auto start = std::chrono::steady_clock::now();
    hits += FindOpening(fen.c_str(), move);
    const auto end = std::chrono::steady_clock::now();
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpuEnd);
    wall.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    cpu.push_back(static_cast<double>(cpuEnd.tv_sec - cpuStart.tv_sec) * 1e6 +
                  static_cast<double>(cpuEnd.tv_nsec - cpuStart.tv_nsec) / 1e3);
  }
  if (wall.empty()) return;
  // Wall time also counts the moments another process had the core; CPU time does not.
  for (auto* figures : {&wall, &cpu}) {
    std::sort(figures->begin(), figures->end());
    std::printf("%s, %s time: book lookup over %zu positions (%d in book): median %.2f us, p99 %.2f us, "
                "max %.2f us\n",
                pass, figures == &wall ? "wall" : "CPU", figures->size(), hits, (*figures)[figures->size() / 2],
                (*figures)[figures->size() * 99 / 100], figures->back());
  }
}

}  // namespace

int main(int argc, char** argv) {
  // The default books, made as the engine's set-up makes them.
  char dir[] = "/tmp/brindlet-book-bench-XXXXXX";
  if (mkdtemp(dir) == nullptr) return 1;
  const std::string script = (kData.parent_path().parent_path() / "scripts" / "make-books.sh").string();
  if (std::system(("bash '" + script + "' " + dir).c_str()) != 0) return 1;
  const std::string tour = std::string(dir) + "/tourbook.bin";
  const std::string main = std::string(dir) + "/mainbook.bin";
  if (!book::OpenBooks(tour, main)) return 1;

  PrintPerCallFigures("first pass");
  PrintPerCallFigures("second pass");
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  book::CloseBooks();
  std::filesystem::remove_all(dir);
  return 0;
}
