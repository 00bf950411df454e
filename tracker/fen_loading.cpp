#include <array>

#include "tracker/piece_letters.h"
#include "tracker/saturating_clock.h"
#include "tracker/tracked_position.h"

namespace tracker {

namespace {

// Five blanks cut off five fields; the sixth is whatever remains, blanks
// included. When no blank is left the field stays empty and the rest waits,
// so the last word of a short text always lands in the sixth field.
std::array<std::string_view, 6> SplitFenFields(std::string_view fen) {
  std::array<std::string_view, 6> fields;
  std::string_view rest = fen;
  for (int index = 0; index < 5; ++index) {
    const std::size_t blank = rest.find(' ');
    if (blank == std::string_view::npos) continue;
    fields[static_cast<std::size_t>(index)] = rest.substr(0, blank);
    rest = rest.substr(blank + 1);
  }
  fields[5] = rest;
  return fields;
}

// The board is not cleared first: squares the field never reaches keep their
// codes. File and rank stop counting just past the board so that no text, however
// long, can push them beyond the range of their type.
void LoadPlacement(TrackedPosition& position, std::string_view placement) {
  int32_t file = 1;
  int32_t rank = 8;
  const auto put = [&](int32_t code) {
    if (file <= 8 && rank >= 1) position.board[file - 1][rank - 1] = code;
    if (file <= 8) ++file;
  };
  for (const char character : placement) {
    if (character == '/') {
      file = 1;
      if (rank >= 1) --rank;
    } else if (character >= '1' && character <= '8') {
      for (int empty = 0; empty < character - '0'; ++empty) put(0);
    } else if (const std::optional<int32_t> code = PieceCodeOfLetter(character)) {
      put(*code);
    }
  }
}

// Exactly two characters give a square by their codes, unchecked, so an
// unusual field comes back unchanged when the record is written out.
BoardSquare ReadEnPassant(std::string_view field) {
  if (field.size() != 2) return {};
  return {static_cast<unsigned char>(field[0]) - 96, static_cast<unsigned char>(field[1]) - 48};
}

}  // namespace

void PositionFromFen(TrackedPosition& position, std::string_view fen) {
  const std::array<std::string_view, 6> fields = SplitFenFields(fen);
  LoadPlacement(position, fields[0]);
  position.sideToMove = fields[1] == "w" ? 1 : -1;
  constexpr std::string_view kCastlingLetters = "KQkq";
  for (std::size_t flag = 0; flag < 4; ++flag) {
    position.castling[flag] = fields[2].find(kCastlingLetters[flag]) != std::string_view::npos ? 1 : 0;
  }
  position.enPassant = ReadEnPassant(fields[3]);
  position.halfmoveClock = ReadClockNumber(fields[4]);
  position.fullmoveNumber = ReadClockNumber(fields[5]);
}

}  // namespace tracker
