#pragma once
// The clocks are signed 32-bit numbers that saturate instead of wrapping: a FEN
// from an unknown GUI may carry any digit string, and a very long game must not
// turn its move number negative.
#include <cstdint>
#include <string_view>

namespace tracker {

// Leading blanks are skipped, then an optional sign and the leading run of
// digits are read; a text with no leading number gives 0.
int32_t ReadClockNumber(std::string_view text);

int32_t SaturatingIncrement(int32_t value);

// Narrows a wider intermediate result to the signed 32-bit range.
int32_t SaturateToInt32(int64_t value);

}  // namespace tracker
