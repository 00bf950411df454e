#include "tracker/saturating_clock.h"

#include <limits>

namespace tracker {

namespace {
constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
}  // namespace

int32_t SaturateToInt32(int64_t value) {
  if (value > kMax) return static_cast<int32_t>(kMax);
  if (value < kMin) return static_cast<int32_t>(kMin);
  return static_cast<int32_t>(value);
}

int32_t ReadClockNumber(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && text[at] == ' ') ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
    negative = text[at] == '-';
    ++at;
  }
  // The magnitude stops growing once it is past the limit, so any number of
  // digits is read without overflow.
  int64_t magnitude = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    if (magnitude <= kMax + 1) magnitude = magnitude * 10 + (text[at] - '0');
  }
  return SaturateToInt32(negative ? -magnitude : magnitude);
}

int32_t SaturatingIncrement(int32_t value) {
  return SaturateToInt32(static_cast<int64_t>(value) + 1);
}

}  // namespace tracker
