#pragma once
// One text converts between FEN letters and piece codes in both directions:
// black king to pawn, a blank for the empty square, white pawn to king. The
// letter of code c sits at index c + 6.
#include <cstdint>
#include <optional>
#include <string_view>

namespace tracker {

inline constexpr std::string_view kPieceLetters = "kqrbnp PNBRQK";

// The code of a placement letter, or nothing for any other byte. The blank
// (code 0) never reaches here: FEN fields are split at blanks.
inline std::optional<int32_t> PieceCodeOfLetter(char letter) {
  const std::size_t index = kPieceLetters.find(letter);
  if (index == std::string_view::npos) return std::nullopt;
  return static_cast<int32_t>(index) - 6;
}

// The letter of a code from -6 to 6. Only a record filled by hand can hold
// anything else; it is written as '?' so the text fails validation instead of
// reading outside the table.
inline char LetterOfPieceCode(int32_t code) {
  if (code < -6 || code > 6) return '?';
  return kPieceLetters[static_cast<std::size_t>(code + 6)];
}

}  // namespace tracker
