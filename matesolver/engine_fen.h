#pragma once
// The FEN texts the engine hands over are checked only field by field, so a few
// harmless liberties reach the solver; this reads them as the position they mean.
#include <optional>
#include <string_view>

#include "rules/rules.h"

namespace matesolver {

// Like rules::Position::FromFen, but also accepts what the engine's check lets through:
// up to two blanks after the last field, up to two slashes after the eighth rank,
// repeated castling letters, an en-passant square on the wrong side's rank (no capture
// can use it) and move counters of any length (a mate does not depend on them).
std::optional<rules::Position> ReadEngineFen(std::string_view text);

}  // namespace matesolver
