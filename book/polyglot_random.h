#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace book {

inline constexpr std::size_t kRandomCount = 781;
inline constexpr std::size_t kRandomCastleOffset = 768;
inline constexpr std::size_t kRandomEnPassantOffset = 772;
inline constexpr std::size_t kRandomTurnOffset = 780;

extern const std::array<std::uint64_t, kRandomCount> kPolyglotRandom;

}  // namespace book
