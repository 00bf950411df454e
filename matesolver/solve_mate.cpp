// The C entry point the engine calls before its own search.
#include "matesolver/solve_mate.h"

#include <array>
#include <cstring>
#include <string_view>

#include "matesolver/engine_fen.h"

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
  if (fen == nullptr || mode != kModeFirstMove || moves < 1) return Answer("");
  const std::size_t length = strnlen(fen, kMaxFenLength + 1);
  if (length > kMaxFenLength) return Answer("");
  const std::optional<rules::Position> position = matesolver::ReadEngineFen(std::string_view(fen, length));
  if (!position || position->OpponentInCheck()) return Answer("");
  const int maxMoves = moves < matesolver::kMaxMateMoves ? static_cast<int>(moves) : matesolver::kMaxMateMoves;
  const matesolver::MateResult result = matesolver::FindMate(*position, maxMoves);
  if (result.move.IsNone()) return Answer("");
  return Answer(rules::ToUci(result.move).view());
}
