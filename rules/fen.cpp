// Reading a position from FEN text: the strict reading of the notation library, and what
// this core needs to play the position. No character is read past the end of the text.
#include <array>
#include <string_view>

#include "notation/notation.h"
#include "rules/attacks.h"
#include "rules/rules.h"

namespace rules {
namespace {

constexpr int kMaxClockDigits = 5;
constexpr int kMaxClockValue = 65535;

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
    // The rights' bits follow the letters' written order K, Q, k, q.
    const std::size_t index = notation::kCastlingLetters.find(c);
    if (index == std::string_view::npos) return false;
    const auto right = static_cast<std::uint8_t>(1u << index);
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
  const std::optional<notation::BlankFields> split = notation::SplitAtEveryBlank(fen);
  if (!split || (split->count != 4 && split->count != 6)) return std::nullopt;
  const notation::SixFields& fields = split->field;
  for (int index = 0; index < split->count; ++index) {
    if (fields[static_cast<std::size_t>(index)].empty()) return std::nullopt;
  }

  Position position;
  std::array<std::array<int, 7>, 2> counts{};
  const bool placed = notation::ReadPlacementStrictly(fields[0], [&](int32_t file, int32_t rank, int32_t code) {
    const auto type = static_cast<PieceType>(code < 0 ? -code : code);
    if (type == kPawn && (rank == 1 || rank == 8)) return false;
    const Color color = code < 0 ? Color::kBlack : Color::kWhite;
    ++counts[Index(color)][type];
    position.PutPiece(MakePiece(color, type), MakeSquare(file - 1, rank - 1));
    return true;
  });
  if (!placed || !MaterialIsPossible(counts)) return std::nullopt;

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
    if (ep.size() != 2 || !notation::IsFileLetter(ep[0]) || notation::RankOfDigit(ep[1]) - 1 != expectedRank) {
      return std::nullopt;
    }
    position.enPassant_ = static_cast<std::int8_t>(MakeSquare(notation::FileOfLetter(ep[0]) - 1, expectedRank));
  }

  int halfmove = 0;
  int fullmove = 1;
  if (split->count == 6 && (!ParseNumber(fields[4], halfmove) || !ParseNumber(fields[5], fullmove))) return std::nullopt;
  position.halfmoveClock_ = static_cast<std::uint16_t>(halfmove);
  position.fullmoveNumber_ = static_cast<std::uint16_t>(fullmove);

  position.key_ = position.ComputeKey();
  return position;
}

Position Position::StartPosition() { return *FromFen(notation::kStartFen); }

}  // namespace rules
