#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "matesolver/mate_solver.h"
#include "rules/rules.h"
#include "tools/commands.h"

// Prints the solver's move (or "none"), then the nodes it visited and the time it took.
int RunMate(ToolArgs args) {
  int moves = 3;
  if (args.empty() || args.size() > 2 ||
      (args.size() == 2 &&
       (std::from_chars(args[1], args[1] + std::strlen(args[1]), moves).ec != std::errc{} || moves < 1 ||
        moves > matesolver::kMaxMateMoves))) {
    std::fprintf(stderr, "usage: brindlet-tool mate \"FEN\" [MOVES]   (MOVES 1 to %d, default 3)\n",
                 matesolver::kMaxMateMoves);
    return 2;
  }
  // The texts SolveMate reads, so the tool answers for every FEN the engine would ask about.
  const std::optional<rules::Position> position = matesolver::ReadEngineFen(args[0]);
  if (!position || position->OpponentInCheck()) {
    std::fprintf(stderr, "brindlet-tool mate: not a usable FEN\n");
    return 1;
  }
  const auto start = std::chrono::steady_clock::now();
  const matesolver::MateResult result = matesolver::FindMate(*position, moves);
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  if (result.move.IsNone()) {
    std::printf("none\n");
  } else {
    std::printf("%s\n", rules::ToUci(result.move).c_str());
  }
  std::printf("mate in: %d\nnodes: %llu%s\nms: %.3f\n", result.mateIn, static_cast<unsigned long long>(result.nodes),
              result.budgetExhausted ? " (budget exhausted)" : "", ms);
  return 0;
}
