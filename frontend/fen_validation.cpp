#include "frontend/fen_validation.h"

#include <cstdint>
#include <vector>

#include "frontend/pcre_pattern.h"
#include "notation/notation.h"

namespace frontend {

int32_t RankSquareCount(std::string_view rank) {
  // Summed wide and clamped, so that no text, however long, overflows the count.
  int64_t count = 0;
  for (const char c : rank) {
    if (notation::IsPieceLetter(c)) count += 1;
    else count += static_cast<unsigned char>(c) - 48;
    if (count > INT32_MAX) count = INT32_MAX;
  }
  return static_cast<int32_t>(count);
}

bool IsValidFEN(std::string_view fen) {
  const std::vector<std::string_view> fields = notation::SplitText(fen, ' ');
  const std::vector<std::string_view> ranks = notation::SplitText(fields[0], '/');
  if (fields.size() != 6 || ranks.size() != 8) return false;

  bool valid = MatchesPattern(kWhiteKingPattern, fields[0]);
  valid = MatchesPattern(kBlackKingPattern, fields[0]) && valid;
  for (const std::string_view rank : ranks) {
    valid = MatchesPattern(kRankPattern, rank) && valid;
    valid = RankSquareCount(rank) == 8 && valid;
  }
  valid = MatchesPattern(kSidePattern, fields[1]) && valid;
  valid = MatchesPattern(kCastlingPattern, fields[2]) && valid;
  valid = MatchesPattern(kEnPassantPattern, fields[3]) && valid;
  valid = MatchesPattern(kHalfMovePattern, fields[4]) && valid;
  valid = MatchesPattern(kFullMovePattern, fields[5]) && valid;
  return valid;
}

}  // namespace frontend
