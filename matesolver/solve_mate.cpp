#include "matesolver/solve_mate.h"

#include <array>
#include <cstring>
#include <optional>
#include <string_view>

#include "matesolver/mate_solver.h"

namespace {

// Longer texts cannot be a FEN; the limit also keeps a missing terminator from
// sending the length count across memory.
constexpr std::size_t kMaxFenLength = 256;
constexpr int32_t kModeFirstMove = 1;

// The answer lives here until the next call, as the engine's contract expects.
std::array<char, 8> answer{};

const char* Answer(std::string_view text) {
  answer.fill('\0');
  text.copy(answer.data(), answer.size() - 1);
  return answer.data();
}

}  // namespace

extern "C" const char* SolveMate(const char* fen, int32_t moves, int32_t mode) {
  if (fen == nullptr || mode != kModeFirstMove) return Answer("");
  const std::size_t length = strnlen(fen, kMaxFenLength + 1);
  if (length > kMaxFenLength) return Answer("");
  const std::optional<rules::Move> move = matesolver::FindMateMove(std::string_view(fen, length), moves);
  return Answer(move ? rules::ToUci(*move).view() : "");
}
