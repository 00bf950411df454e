#include "search/load_search_position.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

#include "notation/notation.h"

namespace search {
namespace {

// Piece values of the standard start position in reading order: rank 8 first,
// file a first within a rank.
constexpr int8_t kStartTable[64] = {
    -10, -7, -6, -19, -126, -6, -7, -10,  //
    -2,  -2, -2, -2,  -2,   -2, -2, -2,   //
    0,   0,  0,  0,   0,    0,  0,  0,    //
    0,   0,  0,  0,   0,    0,  0,  0,    //
    0,   0,  0,  0,   0,    0,  0,  0,    //
    0,   0,  0,  0,   0,    0,  0,  0,    //
    2,   2,  2,  2,   2,    2,  2,  2,    //
    10,  7,  6,  19,  126,  6,  7,  10,
};

// The piece value of each code of the FEN letter table, from -6 (black king) to 6.
constexpr int8_t kValueOfCode[13] = {-126, -19, -10, -6, -7, -2, 0, 2, 7, 6, 10, 19, 126};

void PlacePieces(SearchPosition& position, std::string_view placement) {
  notation::WalkPlacement(placement, [&](int32_t file, int32_t rank, int32_t code) {
    Square(position, 10 * file + rank) = kValueOfCode[code + 6];
  });
}

// 2 x full-move number + (1 for black) - 2, held at the 16-bit limits
// however long the digit run is.
int16_t PlyFromMoveNumber(std::string_view moveNumber, int8_t sideToMove) {
  int64_t number = 0;
  for (const char c : moveNumber) {
    if (c < '0' || c > '9') break;
    number = std::min<int64_t>(number * 10 + (c - '0'), 1000000);
  }
  const int64_t ply = 2 * number + (sideToMove == -1 ? 1 : 0) - 2;
  return static_cast<int16_t>(std::clamp<int64_t>(ply, INT16_MIN, INT16_MAX));
}

bool HasLetter(std::string_view field, char letter) { return field.find(letter) != std::string_view::npos; }

// A right stands only with its king and rook at home; a hand-typed FEN may claim more.
void SetCastleRights(SearchPosition& position, std::string_view field) {
  const bool whiteKingHome = Square(position, 51) == kKingValue;
  const bool blackKingHome = Square(position, 58) == -kKingValue;
  const auto right = [&](char letter, bool kingHome, int corner, int rook) {
    return HasLetter(field, letter) && kingHome && Square(position, corner) == rook ? kFlagSet : kFlagClear;
  };
  position.castleRight[kWhiteKingWing] = right('K', whiteKingHome, 81, kRookValue);
  position.castleRight[kWhiteQueenWing] = right('Q', whiteKingHome, 11, kRookValue);
  position.castleRight[kBlackKingWing] = right('k', blackKingHome, 88, -kRookValue);
  position.castleRight[kBlackQueenWing] = right('q', blackKingHome, 18, -kRookValue);
}

// The square a pawn of the side not to move has just passed over, or 0. Kept
// only when a double step can have made it: the right rank, empty, and that
// side's pawn just beyond it.
int8_t EnPassantSquare(const SearchPosition& position, std::string_view field) {
  const std::optional<notation::SquareCoordinates> named = notation::ReadSquareUnchecked(field);
  if (!named) return 0;
  const int s = position.sideToMove;
  const int square = 10 * named->file + named->rank;
  if (!IsRealSquare(square)) return 0;
  if (square % 10 != (s == 1 ? 6 : 3)) return 0;
  if (Square(position, square) != 0 || Square(position, square - s) != -kPawnValue * s) return 0;
  return static_cast<int8_t>(square);
}

}  // namespace

void LoadSearchPosition(SearchPosition& position, std::string_view fen) {
  std::memset(position.board, OffBoard, sizeof position.board);
  if (fen.empty()) {
    int k = 0;
    for (int rank = 8; rank >= 1; --rank)
      for (int file = 1; file <= 8; ++file) Square(position, 10 * file + rank) = kStartTable[k++];
    for (int8_t& right : position.castleRight) right = kFlagSet;
    EpSlot(position, -1) = 0;
    EpSlot(position, 1) = 0;
    position.material = 0;
    position.sideToMove = 1;
    position.ply = 0;
    position.kingCaptured = kFlagClear;
    return;
  }
  const notation::SixFields fields = notation::SplitAtFiveBlanks(fen);
  PlacePieces(position, fields[0]);
  int sum = position.material;
  for (int rank = 8; rank >= 1; --rank)
    for (int file = 1; file <= 8; ++file) sum += Square(position, 10 * file + rank);
  position.material = static_cast<int16_t>(sum);
  position.sideToMove = fields[1] == "w" ? 1 : -1;
  SetCastleRights(position, fields[2]);
  EpSlot(position, -position.sideToMove) = EnPassantSquare(position, fields[3]);
  EpSlot(position, position.sideToMove) = 0;
  position.ply = PlyFromMoveNumber(fields[5], position.sideToMove);
  position.kingCaptured = kFlagClear;
}

}  // namespace search
