#include "notation/notation.h"
#include "tracker/tracked_position.h"

namespace tracker {

namespace {

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
      fen += notation::LetterOfPieceCode(code);
    }
    if (emptyRun > 0) fen += static_cast<char>('0' + emptyRun);
    if (rank > 1) fen += '/';
  }
}

void AppendCastling(std::string& fen, const TrackedPosition& position) {
  const std::size_t before = fen.size();
  for (std::size_t flag = 0; flag < 4; ++flag) {
    if (position.castling[flag] != 0) fen += notation::kCastlingLetters[flag];
  }
  if (fen.size() == before) fen += '-';
}

}  // namespace

std::string SquareText(BoardSquare square) {
  return {notation::FileLetter(square.file), notation::RankDigit(square.rank)};
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
