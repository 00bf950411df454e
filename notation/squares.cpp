#include "notation/notation.h"

namespace notation {
namespace {

char CharacterOfCode(int32_t value, uint32_t offset) {
  return static_cast<char>(static_cast<unsigned char>((static_cast<uint32_t>(value) + offset) & 0xFFu));
}

}  // namespace

char FileLetter(int32_t file) { return CharacterOfCode(file, 96); }
char RankDigit(int32_t rank) { return CharacterOfCode(rank, 48); }

std::optional<SquareCoordinates> ReadSquareUnchecked(std::string_view field) {
  if (field.size() != 2) return std::nullopt;
  return SquareCoordinates{FileOfLetter(field[0]), RankOfDigit(field[1])};
}

bool BeginsWithMoveSquares(std::string_view text) {
  return text.size() >= 4 && IsFileLetter(text[0]) && IsRankDigit(text[1]) && IsFileLetter(text[2]) &&
         IsRankDigit(text[3]);
}

MoveText WriteMoveText(int32_t fromFile, int32_t fromRank, int32_t toFile, int32_t toRank, int32_t promotionCode) {
  MoveText text;
  text.chars[0] = FileLetter(fromFile);
  text.chars[1] = RankDigit(fromRank);
  text.chars[2] = FileLetter(toFile);
  text.chars[3] = RankDigit(toRank);
  text.chars[4] = PromotionLetter(promotionCode);
  return text;
}

}  // namespace notation
