#pragma once
// The mate solver's C entry point, as the engine calls it: a thin adapter over the typed
// door in mate_solver.h.
#include <cstdint>

extern "C" {
// matesolver::FindMateMove of the FEN text for `moves` moves (mode 1), as a zero-terminated
// UCI move text valid until the next call: four characters, or five for a mating
// promotion. "" when there is no such mate, for any other mode, and for a text of more
// than 256 bytes.
const char* SolveMate(const char* fen, int32_t moves, int32_t mode);
}
