#pragma once
// The eight squares of a file lie side by side on the board (rank 1 first), so
// one 64-bit load reads a whole file and byte arithmetic asks of all eight
// squares at once what a loop would ask of each. The value is built from the bytes with shifts,
// rank 1 lowest whatever the machine's byte order: this is the one place the scan meets memory,
// and compilers turn it into one load (a byte-swapping one on big-endian machines).
#include <bit>
#include <cstdint>

namespace search {

inline constexpr uint64_t kLowBits = 0x7F7F7F7F7F7F7F7Full;
inline constexpr uint64_t kHighBits = 0x8080808080808080ull;

// Ranks 1 to 8 of `file`, one byte each, rank 1 lowest; `b` is the board at square 0.
inline uint64_t FileBytes(const int8_t* b, int file) {
  const int8_t* r = b + 10 * file + 1;
  const auto at = [r](int rank) { return uint64_t{static_cast<uint8_t>(r[rank])} << (8 * rank); };
  return at(0) | at(1) | at(2) | at(3) | at(4) | at(5) | at(6) | at(7);
}

// The high bit of every byte that is not zero.
inline uint64_t NonZeroBytes(uint64_t bytes) { return (((bytes & kLowBits) + kLowBits) | bytes) & kHighBits; }

// The rank (1..8) of the lowest byte whose high bit is set in `bits`.
inline int LowestRank(uint64_t bits) { return 1 + std::countr_zero(bits) / 8; }

// Lists the real squares holding `value` at most two files and two ranks away
// from the real square `centre`; returns how many. Files beyond the board read
// the frame, which never matches a piece.
inline int FindPiecesNear(const int8_t* b, int8_t value, int centre, int8_t* squares) {
  const uint64_t pattern = 0x0101010101010101ull * static_cast<uint8_t>(value);
  const int shift = 8 * (centre % 10 - 3);  // ranks centre - 2 .. centre + 2
  const uint64_t near = shift >= 0 ? 0xFFFFFFFFFFull << shift : 0xFFFFFFFFFFull >> -shift;
  const int centreFile = centre / 10;
  int count = 0;
  for (int file = centreFile - 2; file <= centreFile + 2; ++file) {
    // The high bit of each byte where the value stands.
    uint64_t equal = ~NonZeroBytes(FileBytes(b, file) ^ pattern) & kHighBits & near;
    for (; equal != 0; equal &= equal - 1) squares[count++] = static_cast<int8_t>(10 * file + LowestRank(equal));
  }
  return count;
}

}  // namespace search
