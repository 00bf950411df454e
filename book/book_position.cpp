#include "book/book_position.h"

#include <cstddef>

namespace book {
namespace {

int KindOfLetter(char letter) {
  switch (letter) {
    case 'p': return 0;
    case 'P': return 1;
    case 'n': return 2;
    case 'N': return 3;
    case 'b': return 4;
    case 'B': return 5;
    case 'r': return 6;
    case 'R': return 7;
    case 'q': return 8;
    case 'Q': return 9;
    case 'k': return 10;
    case 'K': return 11;
    default: return -1;
  }
}

// Splits at single blanks; a run of blanks or a blank at either end makes the text no FEN.
constexpr std::size_t kMaxFields = 6;
std::size_t SplitFields(std::string_view text, std::array<std::string_view, kMaxFields>& fields) {
  std::size_t count = 0;
  while (true) {
    const std::size_t blank = text.find(' ');
    const std::string_view field = text.substr(0, blank);
    if (field.empty() || count == kMaxFields) return 0;
    fields[count++] = field;
    if (blank == std::string_view::npos) return count;
    text.remove_prefix(blank + 1);
  }
}

bool ParsePlacement(std::string_view field, BookPosition& position) {
  position.kind.fill(-1);
  int rank = 7;
  int file = 0;
  for (const char c : field) {
    if (c == '/') {
      if (file != 8 || rank == 0) return false;
      --rank;
      file = 0;
    } else if (c >= '1' && c <= '8') {
      file += c - '0';
      if (file > 8) return false;
    } else {
      const int kind = KindOfLetter(c);
      if (kind < 0 || file >= 8) return false;
      position.kind[static_cast<std::size_t>(8 * rank + file)] = static_cast<std::int8_t>(kind);
      ++file;
    }
  }
  return rank == 0 && file == 8;
}

bool ParseCastling(std::string_view field, BookPosition& position) {
  position.castle.fill(false);
  if (field == "-") return true;
  constexpr std::string_view kLetters = "KQkq";
  for (const char c : field) {
    const std::size_t index = kLetters.find(c);
    if (index == std::string_view::npos || position.castle[index]) return false;
    position.castle[index] = true;
  }
  return true;
}

bool ParseEnPassant(std::string_view field, BookPosition& position) {
  position.enPassantSquare = -1;
  if (field == "-") return true;
  if (field.size() != 2 || field[0] < 'a' || field[0] > 'h') return false;
  if (field[1] != '3' && field[1] != '6') return false;
  position.enPassantSquare = 8 * (field[1] - '1') + (field[0] - 'a');
  return true;
}

bool IsNumber(std::string_view field) {
  if (field.size() > 9) return false;
  for (const char c : field) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

bool HasBothKings(const BookPosition& position) {
  int white = 0;
  int black = 0;
  for (const std::int8_t kind : position.kind) {
    white += kind == kWhiteKingKind;
    black += kind == kBlackKingKind;
  }
  return white == 1 && black == 1;
}

}  // namespace

std::optional<BookPosition> ParseBookPosition(std::string_view fen) {
  std::array<std::string_view, kMaxFields> fields;
  const std::size_t count = SplitFields(fen, fields);
  if (count != 4 && count != 6) return std::nullopt;
  BookPosition position;
  if (!ParsePlacement(fields[0], position)) return std::nullopt;
  if (fields[1] != "w" && fields[1] != "b") return std::nullopt;
  position.whiteToMove = fields[1] == "w";
  if (!ParseCastling(fields[2], position)) return std::nullopt;
  if (!ParseEnPassant(fields[3], position)) return std::nullopt;
  if (count == 6 && (!IsNumber(fields[4]) || !IsNumber(fields[5]))) return std::nullopt;
  if (!HasBothKings(position)) return std::nullopt;
  return position;
}

}  // namespace book
