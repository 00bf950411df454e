#pragma once
#include <cstdint>

extern "C" {
// First move of a shortest forced mate in at most `moves` moves of the side to move
// (mode 1), as a zero-terminated move text valid until the next call; "" for none.
const char* SolveMate(const char* fen, int32_t moves, int32_t mode);
}
