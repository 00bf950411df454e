#pragma once
// Attack tables, built at compile time so no start-up order matters.
#include <array>
#include <bit>

#include "rules/rules.h"

namespace rules::attacks {

inline int PopCount(Bitboard bits) { return std::popcount(bits); }
inline Square LowestSquare(Bitboard bits) { return std::countr_zero(bits); }
inline Square HighestSquare(Bitboard bits) { return 63 - std::countl_zero(bits); }
inline Square PopLowest(Bitboard& bits) {
  const Square square = LowestSquare(bits);
  bits &= bits - 1;
  return square;
}
inline bool MoreThanOne(Bitboard bits) { return (bits & (bits - 1)) != 0; }

// Directions as (file step, rank step); the first four run towards higher squares.
struct Direction {
  int file;
  int rank;
};
constexpr std::array<Direction, 8> kDirections = {{
    {0, 1}, {1, 0}, {1, 1}, {-1, 1},      // north, east, north-east, north-west
    {0, -1}, {-1, 0}, {-1, -1}, {1, -1},  // south, west, south-west, south-east
}};
constexpr bool IsRookDirection(int direction) { return kDirections[direction].file == 0 || kDirections[direction].rank == 0; }

constexpr Bitboard StepTargets(Square square, const Direction* steps, int count) {
  Bitboard targets = 0;
  for (int i = 0; i < count; ++i) {
    const int file = FileOf(square) + steps[i].file;
    const int rank = RankOf(square) + steps[i].rank;
    if (file >= 0 && file < 8 && rank >= 0 && rank < 8) targets |= SquareBit(MakeSquare(file, rank));
  }
  return targets;
}

constexpr auto kKnightAttacks = [] {
  constexpr Direction kJumps[] = {{1, 2}, {2, 1}, {2, -1}, {1, -2}, {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}};
  std::array<Bitboard, 64> table{};
  for (Square s = 0; s < 64; ++s) table[s] = StepTargets(s, kJumps, 8);
  return table;
}();

constexpr auto kKingAttacks = [] {
  std::array<Bitboard, 64> table{};
  for (Square s = 0; s < 64; ++s) table[s] = StepTargets(s, kDirections.data(), 8);
  return table;
}();

// kPawnAttacks[color][square]: the squares a pawn of that colour on `square` attacks.
constexpr auto kPawnAttacks = [] {
  constexpr Direction kWhite[] = {{-1, 1}, {1, 1}};
  constexpr Direction kBlack[] = {{-1, -1}, {1, -1}};
  std::array<std::array<Bitboard, 64>, 2> table{};
  for (Square s = 0; s < 64; ++s) {
    table[0][s] = StepTargets(s, kWhite, 2);
    table[1][s] = StepTargets(s, kBlack, 2);
  }
  return table;
}();

// kRays[direction][square]: every square from `square` to the edge, itself excluded.
constexpr auto kRays = [] {
  std::array<std::array<Bitboard, 64>, 8> table{};
  for (int d = 0; d < 8; ++d) {
    for (Square s = 0; s < 64; ++s) {
      int file = FileOf(s) + kDirections[d].file;
      int rank = RankOf(s) + kDirections[d].rank;
      while (file >= 0 && file < 8 && rank >= 0 && rank < 8) {
        table[d][s] |= SquareBit(MakeSquare(file, rank));
        file += kDirections[d].file;
        rank += kDirections[d].rank;
      }
    }
  }
  return table;
}();

// kBetween[a][b]: the squares strictly between two squares on a line, else empty.
// kLine[a][b]: the whole line through both (edge to edge), else empty.
struct LineTables {
  std::array<std::array<Bitboard, 64>, 64> between{};
  std::array<std::array<Bitboard, 64>, 64> line{};
};
constexpr LineTables kLineTables = [] {
  LineTables tables{};
  for (Square a = 0; a < 64; ++a) {
    for (int d = 0; d < 8; ++d) {
      const int opposite = d < 4 ? d + 4 : d - 4;
      Bitboard walked = 0;
      int file = FileOf(a) + kDirections[d].file;
      int rank = RankOf(a) + kDirections[d].rank;
      while (file >= 0 && file < 8 && rank >= 0 && rank < 8) {
        const Square b = MakeSquare(file, rank);
        tables.between[a][b] = walked;
        tables.line[a][b] = kRays[d][a] | kRays[opposite][a] | SquareBit(a);
        walked |= SquareBit(b);
        file += kDirections[d].file;
        rank += kDirections[d].rank;
      }
    }
  }
  return tables;
}();

inline Bitboard Between(Square a, Square b) { return kLineTables.between[a][b]; }
inline Bitboard Line(Square a, Square b) { return kLineTables.line[a][b]; }

template <int kDirection>
inline Bitboard RayAttacks(Square square, Bitboard occupied) {
  Bitboard ray = kRays[kDirection][square];
  const Bitboard blockers = ray & occupied;
  if (blockers != 0) {
    const Square blocker = kDirection < 4 ? LowestSquare(blockers) : HighestSquare(blockers);
    ray ^= kRays[kDirection][blocker];
  }
  return ray;
}

inline Bitboard RookAttacks(Square square, Bitboard occupied) {
  return RayAttacks<0>(square, occupied) | RayAttacks<1>(square, occupied) |
         RayAttacks<4>(square, occupied) | RayAttacks<5>(square, occupied);
}
inline Bitboard BishopAttacks(Square square, Bitboard occupied) {
  return RayAttacks<2>(square, occupied) | RayAttacks<3>(square, occupied) |
         RayAttacks<6>(square, occupied) | RayAttacks<7>(square, occupied);
}
inline Bitboard KnightAttacks(Square square) { return kKnightAttacks[square]; }
inline Bitboard KingAttacks(Square square) { return kKingAttacks[square]; }
inline Bitboard PawnAttacks(Color color, Square square) { return kPawnAttacks[Index(color)][square]; }

inline Bitboard PieceAttacks(PieceType type, Color color, Square square, Bitboard occupied) {
  switch (type) {
    case kPawn: return PawnAttacks(color, square);
    case kKnight: return KnightAttacks(square);
    case kBishop: return BishopAttacks(square, occupied);
    case kRook: return RookAttacks(square, occupied);
    case kQueen: return BishopAttacks(square, occupied) | RookAttacks(square, occupied);
    case kKing: return KingAttacks(square);
    default: return 0;
  }
}

constexpr Bitboard kRank1 = 0xFFull;
constexpr Bitboard kRank8 = 0xFFull << 56;

}  // namespace rules::attacks
