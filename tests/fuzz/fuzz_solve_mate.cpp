// Arbitrary bytes as the FEN text and the two numbers of a SolveMate call. Whatever it is
// given, an answer is either empty or a legal move of that position that mates within the
// number of moves asked for.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "matesolver/mate_solver.h"
#include "matesolver/solve_mate.h"
#include "rules/rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The first byte picks the number of moves (-1 to 4) and the mode (0 to 2).
  int32_t moves = 3;
  int32_t mode = 1;
  if (size > 0) {
    moves = static_cast<int32_t>(data[0] % 6) - 1;
    mode = static_cast<int32_t>((data[0] / 6) % 3);
    ++data;
    --size;
  }
  const std::string fen(reinterpret_cast<const char*>(data), strnlen(reinterpret_cast<const char*>(data), size));
  const char* answer = SolveMate(fen.c_str(), moves, mode);
  if (answer == nullptr) std::abort();
  const std::string move(answer);
  if (move.empty()) return 0;
  if (mode != 1 || moves < 1) std::abort();
  // The solver reads the liberties the engine's FEN check lets through, so the answer is
  // checked against the position it read.
  const std::optional<rules::Position> position = matesolver::ReadEngineFen(fen);
  if (!position || !rules::ParseUciMove(*position, move)) std::abort();
  return 0;
}
