#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace frontend {

// The fields of a text cut at every separator; a trailing empty field is dropped once,
// unless it is the only one. Always at least one field.
std::vector<std::string> SplitText(std::string_view text, char separator);

// The number of squares a rank text describes: piece letters count 1, any other byte its
// code minus 48 (so a digit counts its value).
int32_t RankSquareCount(std::string_view rank);

// The textual check made before every search: six fields, eight ranks of eight squares
// from digits and piece letters, both king letters, and well-formed side, castling,
// en-passant and clock fields. The position itself is not judged.
bool IsValidFEN(std::string_view fen);

}  // namespace frontend
