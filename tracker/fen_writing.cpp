#include "tracker/piece_letters.h"
#include "tracker/tracked_position.h"

namespace tracker {

namespace {

// Values whose code falls outside a byte cannot come from a loaded text; the
// code is cut to its low eight bits so every record still has a written form.
char CharacterOfCode(int32_t value, uint32_t offset) {
  return static_cast<char>(static_cast<unsigned char>((static_cast<uint32_t>(value) + offset) & 0xFFu));
}

void AppendPlacement(std::string& fen, const TrackedPosition& position) {
  for (int rank = 8; rank >= 1; --rank) {
    int emptyRun = 0;
    for (int file = 1; file <= 8; ++file) {
      const int32_t code = position.board[file - 1][rank - 1];
      if (code == 0) {
        ++emptyRun;
        continue;
      }
      if (emptyRun > 0) fen += static_cast<char>('0' + emptyRun);
      emptyRun = 0;
      fen += LetterOfPieceCode(code);
    }
    if (emptyRun > 0) fen += static_cast<char>('0' + emptyRun);
    if (rank > 1) fen += '/';
  }
}

void AppendCastling(std::string& fen, const TrackedPosition& position) {
  constexpr std::string_view kCastlingLetters = "KQkq";
  const std::size_t before = fen.size();
  for (std::size_t flag = 0; flag < 4; ++flag) {
    if (position.castling[flag] != 0) fen += kCastlingLetters[flag];
  }
  if (fen.size() == before) fen += '-';
}

}  // namespace

std::string SquareText(BoardSquare square) {
  return {CharacterOfCode(square.file, 96), CharacterOfCode(square.rank, 48)};
}

std::string PositionToFen(const TrackedPosition& position) {
  std::string fen;
  fen.reserve(90);
  AppendPlacement(fen, position);
  fen += position.sideToMove == 1 ? " w " : " b ";
  AppendCastling(fen, position);
  fen += ' ';
  fen += position.enPassant.file == 0 ? std::string("-") : SquareText(position.enPassant);
  fen += ' ';
  fen += std::to_string(position.halfmoveClock);
  fen += ' ';
  fen += std::to_string(position.fullmoveNumber);
  return fen;
}

}  // namespace tracker
