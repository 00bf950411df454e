#pragma once
#include <cstdint>

namespace search {

// Square offsets: +1 is one rank up, +10 one file to the right.
inline constexpr int8_t DirectionTable[28] = {
    1,  2,   -9,  11,                  // pawn, times the side: step, double step, captures
    11, -11, 9,   -9,                  // bishop
    -1, 1,   -10, 10,                  // rook
    12, 21,  19,  8,  -12, -21, -19, -8,  // knight
    -1, 1,   -10, 10, 11,  -11, 9,   -9,  // queen and king
};

inline constexpr const int8_t* kPawnOffsets = DirectionTable + 0;
inline constexpr const int8_t* kBishopOffsets = DirectionTable + 4;
inline constexpr const int8_t* kRookOffsets = DirectionTable + 8;
inline constexpr const int8_t* kKnightOffsets = DirectionTable + 12;
inline constexpr const int8_t* kQueenOffsets = DirectionTable + 20;

}  // namespace search
