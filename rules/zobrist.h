#pragma once
// Zobrist numbers from a fixed generator, so keys are the same in every run.
#include <array>
#include <cstdint>

namespace rules::zobrist {

constexpr std::uint64_t SplitMix(std::uint64_t& state) {
  std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

struct Keys {
  std::array<std::array<std::uint64_t, 64>, 16> piece{};  // by piece code
  std::array<std::uint64_t, 16> castling{};               // by set of rights
  std::array<std::uint64_t, 8> enPassantFile{};
  std::uint64_t blackToMove = 0;
};

constexpr Keys kKeys = [] {
  Keys keys{};
  std::uint64_t state = 0x6272696E646C6574ull;
  for (auto& squares : keys.piece)
    for (auto& key : squares) key = SplitMix(state);
  for (auto& key : keys.castling) key = SplitMix(state);
  for (auto& key : keys.enPassantFile) key = SplitMix(state);
  keys.blackToMove = SplitMix(state);
  return keys;
}();

}  // namespace rules::zobrist
