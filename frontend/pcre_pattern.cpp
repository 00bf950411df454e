#include "frontend/pcre_pattern.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

namespace frontend {
namespace {

// An empty view may hold a null pointer, which pcre2_compile refuses even with a length of 0
// (and some releases of pcre2_match too).
PCRE2_SPTR Bytes(std::string_view text) {
  return reinterpret_cast<PCRE2_SPTR>(text.empty() ? "" : text.data());
}

}  // namespace

PcrePattern::PcrePattern(std::string_view pattern) {
  // The pattern ends at its first zero byte, as a zero-terminated pattern text always did.
  const std::string_view text = pattern.substr(0, pattern.find('\0'));
  int errorCode = 0;
  PCRE2_SIZE errorOffset = 0;
  compiled_ = pcre2_compile(Bytes(text), text.size(), 0, &errorCode, &errorOffset, nullptr);
  if (compiled_ != nullptr) matchData_ = pcre2_match_data_create_from_pattern(compiled_, nullptr);
}

PcrePattern::~PcrePattern() {
  pcre2_match_data_free(matchData_);
  pcre2_code_free(compiled_);
}

int PcrePattern::Exec(std::string_view subject, int startOffset, int32_t* matchVector, int vectorSize) const {
  // Offsets must fit the signed 32-bit entries of the vector.
  if (!ok() || subject.size() > static_cast<size_t>(INT32_MAX) || startOffset < 0 || vectorSize < 0) {
    return PCRE2_ERROR_NULL;
  }
  const int found = pcre2_match(compiled_, Bytes(subject), subject.size(), static_cast<PCRE2_SIZE>(startOffset), 0,
                                matchData_, nullptr);
  if (found <= 0) return found;
  const PCRE2_SIZE* offsets = pcre2_get_ovector_pointer(matchData_);
  const int room = vectorSize / 3;
  int pairsUpToHighestFitting = 0;
  for (int pair = 0; pair < found && pair < room; ++pair) {
    const bool set = offsets[2 * pair] != PCRE2_UNSET;
    matchVector[2 * pair] = set ? static_cast<int32_t>(offsets[2 * pair]) : -1;
    matchVector[2 * pair + 1] = set ? static_cast<int32_t>(offsets[2 * pair + 1]) : -1;
    if (set) pairsUpToHighestFitting = pair + 1;
  }
  if (found <= room) return found;
  // A set group beyond the room: "no room" when the room is full up to its last pair, and
  // otherwise the pairs up to the highest set one that fits.
  return pairsUpToHighestFitting == room ? 0 : pairsUpToHighestFitting;
}

bool MatchesPattern(std::string_view pattern, std::string_view subject) {
  const PcrePattern compiled(pattern);
  if (!compiled.ok()) return false;
  int32_t matchVector[30] = {};
  return compiled.Exec(subject, 0, matchVector, 30) >= 0;
}

}  // namespace frontend
