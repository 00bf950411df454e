#include "search/load_search_position.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

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

constexpr std::string_view kPieceLetters = "kqrbnp PNBRQK";
constexpr int8_t kValueOfCode[13] = {-126, -19, -10, -6, -7, -2, 0, 2, 7, 6, 10, 19, 126};

struct FenFields {
  std::string_view field[6];
};

// Five times the text up to the next blank; what is left after the fifth blank
// is the sixth field. Without a blank the field is empty and the rest stays.
FenFields SplitFields(std::string_view text) {
  FenFields fields;
  for (int i = 0; i < 5; ++i) {
    const size_t blank = text.find(' ');
    if (blank == std::string_view::npos) continue;
    fields.field[i] = text.substr(0, blank);
    text.remove_prefix(blank + 1);
  }
  fields.field[5] = text;
  return fields;
}

void PlacePieces(SearchPosition& position, std::string_view placement) {
  // The counters stop at the first value outside the board: a longer rank or
  // extra ranks then write nothing instead of running over the frame.
  int file = 1;
  int rank = 8;
  auto put = [&](int8_t value) {
    if (file >= 1 && file <= 8 && rank >= 1 && rank <= 8) Square(position, 10 * file + rank) = value;
    file = std::min(file + 1, 9);
  };
  for (const char c : placement) {
    if (c == '/') {
      file = 1;
      rank = std::max(rank - 1, 0);
    } else if (c >= '1' && c <= '8') {
      for (int n = c - '0'; n > 0; --n) put(0);
    } else if (const size_t p = kPieceLetters.find(c); p != std::string_view::npos) {
      put(kValueOfCode[p]);
    }
  }
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
  const bool whiteKingHome = Square(position, 51) == kKing;
  const bool blackKingHome = Square(position, 58) == -kKing;
  position.castleRight[kWingK] = HasLetter(field, 'K') && whiteKingHome && Square(position, 81) == kRook ? kTrue : kFalse;
  position.castleRight[kWingQ] = HasLetter(field, 'Q') && whiteKingHome && Square(position, 11) == kRook ? kTrue : kFalse;
  position.castleRight[kWingk] = HasLetter(field, 'k') && blackKingHome && Square(position, 88) == -kRook ? kTrue : kFalse;
  position.castleRight[kWingq] = HasLetter(field, 'q') && blackKingHome && Square(position, 18) == -kRook ? kTrue : kFalse;
}

// The square a pawn of the side not to move has just passed over, or 0. Kept
// only when a double step can have made it: the right rank, empty, and that
// side's pawn just beyond it.
int8_t EnPassantSquare(const SearchPosition& position, std::string_view field) {
  if (field.size() != 2) return 0;
  const int s = position.sideToMove;
  const int square = 10 * static_cast<unsigned char>(field[0]) + static_cast<unsigned char>(field[1]) - 1008;
  if (!IsRealSquare(square)) return 0;
  if (square % 10 != (s == 1 ? 6 : 3)) return 0;
  if (Square(position, square) != 0 || Square(position, square - s) != -kPawn * s) return 0;
  return static_cast<int8_t>(square);
}

}  // namespace

void LoadSearchPosition(SearchPosition& position, std::string_view fen) {
  std::memset(position.board, OffBoard, sizeof position.board);
  if (fen.empty()) {
    int k = 0;
    for (int rank = 8; rank >= 1; --rank)
      for (int file = 1; file <= 8; ++file) Square(position, 10 * file + rank) = kStartTable[k++];
    for (int8_t& right : position.castleRight) right = kTrue;
    EpSlot(position, -1) = 0;
    EpSlot(position, 1) = 0;
    position.material = 0;
    position.sideToMove = 1;
    position.ply = 0;
    position.kingCaptured = kFalse;
    return;
  }
  const FenFields fields = SplitFields(fen);
  PlacePieces(position, fields.field[0]);
  int sum = position.material;
  for (int rank = 8; rank >= 1; --rank)
    for (int file = 1; file <= 8; ++file) sum += Square(position, 10 * file + rank);
  position.material = static_cast<int16_t>(sum);
  position.sideToMove = fields.field[1] == "w" ? 1 : -1;
  SetCastleRights(position, fields.field[2]);
  EpSlot(position, -position.sideToMove) = EnPassantSquare(position, fields.field[3]);
  EpSlot(position, position.sideToMove) = 0;
  position.ply = PlyFromMoveNumber(fields.field[5], position.sideToMove);
  position.kingCaptured = kFalse;
}

}  // namespace search
