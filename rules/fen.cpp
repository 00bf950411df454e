// Reading a position from FEN text. Every field is checked before anything is
// built, and no character is read past the end of the text.
#include <array>
#include <string_view>

#include "rules/attacks.h"
#include "rules/rules.h"

namespace rules {
namespace {

constexpr std::string_view kStartFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
constexpr int kMaxFields = 6;
constexpr int kMaxClockDigits = 5;
constexpr int kMaxClockValue = 65535;

PieceType PieceTypeOfLetter(char letter) {
  switch (letter | 0x20) {
    case 'p': return kPawn;
    case 'n': return kKnight;
    case 'b': return kBishop;
    case 'r': return kRook;
    case 'q': return kQueen;
    case 'k': return kKing;
    default: return kNoPieceType;
  }
}

// Splits at single blanks; false for an empty field or more than six fields.
bool SplitFields(std::string_view text, std::array<std::string_view, kMaxFields>& fields, int& count) {
  count = 0;
  std::size_t start = 0;
  while (true) {
    const std::size_t blank = text.find(' ', start);
    const std::string_view field = text.substr(start, blank == std::string_view::npos ? std::string_view::npos : blank - start);
    if (field.empty() || count == kMaxFields) return false;
    fields[count++] = field;
    if (blank == std::string_view::npos) return true;
    start = blank + 1;
  }
}

bool ParseNumber(std::string_view field, int& value) {
  if (field.empty() || field.size() > kMaxClockDigits) return false;
  value = 0;
  for (char c : field) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return value <= kMaxClockValue;
}

bool ParseCastling(std::string_view field, std::uint8_t& rights) {
  rights = 0;
  if (field == "-") return true;
  if (field.size() > 4) return false;
  for (char c : field) {
    std::uint8_t right = 0;
    switch (c) {
      case 'K': right = kWhiteKingside; break;
      case 'Q': right = kWhiteQueenside; break;
      case 'k': right = kBlackKingside; break;
      case 'q': right = kBlackQueenside; break;
      default: return false;
    }
    if ((rights & right) != 0) return false;
    rights |= right;
  }
  return true;
}

// A side's material must be reachable from the initial army by promotions.
bool MaterialIsPossible(const std::array<std::array<int, 7>, 2>& counts) {
  for (const auto& side : counts) {
    int total = 0;
    for (int type = kPawn; type <= kKing; ++type) total += side[type];
    if (side[kKing] != 1 || side[kPawn] > 8 || total > 16) return false;
    auto excess = [&](PieceType type, int initial) { return side[type] > initial ? side[type] - initial : 0; };
    const int promoted = excess(kKnight, 2) + excess(kBishop, 2) + excess(kRook, 2) + excess(kQueen, 1);
    if (promoted > 8 - side[kPawn]) return false;
  }
  return true;
}

}  // namespace

std::optional<Position> Position::FromFen(std::string_view fen) {
  std::array<std::string_view, kMaxFields> fields;
  int fieldCount = 0;
  if (!SplitFields(fen, fields, fieldCount) || (fieldCount != 4 && fieldCount != 6)) return std::nullopt;

  Position position;
  std::array<std::array<int, 7>, 2> counts{};
  int rank = 7;
  int file = 0;
  for (char c : fields[0]) {
    if (c == '/') {
      if (file != 8 || rank == 0) return std::nullopt;
      --rank;
      file = 0;
    } else if (c >= '1' && c <= '8') {
      file += c - '0';
      if (file > 8) return std::nullopt;
    } else {
      const PieceType type = PieceTypeOfLetter(c);
      if (type == kNoPieceType || file > 7) return std::nullopt;
      if (type == kPawn && (rank == 0 || rank == 7)) return std::nullopt;
      const Color color = (c >= 'a') ? Color::kBlack : Color::kWhite;
      ++counts[Index(color)][type];
      position.PutPiece(MakePiece(color, type), MakeSquare(file, rank));
      ++file;
    }
  }
  if (rank != 0 || file != 8 || !MaterialIsPossible(counts)) return std::nullopt;

  if (fields[1] == "w") {
    position.side_ = Color::kWhite;
  } else if (fields[1] == "b") {
    position.side_ = Color::kBlack;
  } else {
    return std::nullopt;
  }

  if (!ParseCastling(fields[2], position.castling_)) return std::nullopt;

  if (fields[3] == "-") {
    position.enPassant_ = kNoSquare;
  } else {
    const std::string_view ep = fields[3];
    const int expectedRank = position.side_ == Color::kWhite ? 5 : 2;
    if (ep.size() != 2 || ep[0] < 'a' || ep[0] > 'h' || ep[1] - '1' != expectedRank) return std::nullopt;
    position.enPassant_ = static_cast<std::int8_t>(MakeSquare(ep[0] - 'a', expectedRank));
  }

  int halfmove = 0;
  int fullmove = 1;
  if (fieldCount == 6 && (!ParseNumber(fields[4], halfmove) || !ParseNumber(fields[5], fullmove))) return std::nullopt;
  position.halfmoveClock_ = static_cast<std::uint16_t>(halfmove);
  position.fullmoveNumber_ = static_cast<std::uint16_t>(fullmove);

  position.key_ = position.ComputeKey();
  return position;
}

Position Position::StartPosition() { return *FromFen(kStartFen); }

}  // namespace rules
