#include "frontend/fen_validation.h"

#include <cstdint>

#include "frontend/pcre_pattern.h"

namespace frontend {

std::vector<std::string> SplitText(std::string_view text, char separator) {
  std::vector<std::string> fields;
  std::string_view remaining = text;
  do {
    const size_t at = remaining.find(separator);
    if (at == std::string_view::npos) {
      fields.emplace_back(remaining);
      remaining = {};
    } else {
      fields.emplace_back(remaining.substr(0, at));
      remaining.remove_prefix(at + 1);
    }
  } while (!remaining.empty());
  if (fields.size() > 1 && fields.back().empty()) fields.pop_back();
  return fields;
}

int32_t RankSquareCount(std::string_view rank) {
  constexpr std::string_view kPieceLetters = "BKNPQRbknpqr";
  // Summed wide and clamped, so that no text, however long, overflows the count.
  int64_t count = 0;
  for (const char c : rank) {
    if (kPieceLetters.find(c) != std::string_view::npos) count += 1;
    else count += static_cast<unsigned char>(c) - 48;
    if (count > INT32_MAX) count = INT32_MAX;
  }
  return static_cast<int32_t>(count);
}

bool IsValidFEN(std::string_view fen) {
  const std::vector<std::string> fields = SplitText(fen, ' ');
  const std::vector<std::string> ranks = SplitText(fields[0], '/');
  if (fields.size() != 6 || ranks.size() != 8) return false;

  bool valid = MatchesPattern(kWhiteKingPattern, fields[0]);
  valid = MatchesPattern(kBlackKingPattern, fields[0]) && valid;
  for (const std::string& rank : ranks) {
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
