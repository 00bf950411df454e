#include "notation/notation.h"

namespace notation {

std::optional<int32_t> PieceCodeOfLetter(char letter) {
  const std::size_t index = kPieceLetters.find(letter);
  if (index == std::string_view::npos) return std::nullopt;
  return static_cast<int32_t>(index) - 6;
}

char LetterOfPieceCode(int32_t code) {
  if (code < -6 || code > 6) return '?';
  return kPieceLetters[static_cast<std::size_t>(code + 6)];
}

bool IsPieceLetter(char c) { return c != ' ' && kPieceLetters.find(c) != std::string_view::npos; }

namespace {
constexpr std::string_view kPromotionLetters = "nbrq";
}  // namespace

std::optional<int32_t> PromotionCodeOfLetter(char letter) {
  const std::size_t index = kPromotionLetters.find(letter);
  if (index == std::string_view::npos) return std::nullopt;
  return kKnightCode + static_cast<int32_t>(index);
}

char PromotionLetter(int32_t code) {
  if (code < kKnightCode || code > kQueenCode) return '\0';
  return kPromotionLetters[static_cast<std::size_t>(code - kKnightCode)];
}

}  // namespace notation
