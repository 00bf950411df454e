#pragma once
// Chess notation for every board: the start position, the ways a FEN text is cut into
// fields, the piece letters, and square and move texts. The boards read FEN texts
// differently on purpose (the engine's check, the two lenient loaders, the strict legal
// core); each reading is a named choice here, so a difference is a decision, not a copy.
// Nothing here allocates except SplitText, which only the engine's check uses.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace notation {

inline constexpr std::string_view kStartFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

// ---- Cutting a text into fields ----

// The engine's check: the fields of a text cut at every separator; a trailing empty field
// is dropped once, unless it is the only one. Always at least one field.
std::vector<std::string_view> SplitText(std::string_view text, char separator);

// The lenient loaders of the tracker and the search: five blanks cut off five fields and the
// sixth is whatever remains, blanks included. When no blank is left the field stays empty
// and the rest waits, so the last word of a short text always lands in the sixth field.
using SixFields = std::array<std::string_view, 6>;
SixFields SplitAtFiveBlanks(std::string_view fen);

// The strict readers: cut at every blank, empty fields kept for the caller to judge.
// Nothing for a text of more than six fields.
struct BlankFields {
  SixFields field;
  int count = 0;
};
std::optional<BlankFields> SplitAtEveryBlank(std::string_view text);

// ---- Pieces ----

// One text converts between FEN letters and piece codes both ways: black king to pawn, a
// blank for the empty square, white pawn to king. The letter of code c sits at index c + 6.
inline constexpr std::string_view kPieceLetters = "kqrbnp PNBRQK";
// Piece codes: positive for white, negative for black, 0 for an empty square.
enum PieceCode : int32_t { kEmptyCode = 0, kPawnCode, kKnightCode, kBishopCode, kRookCode, kQueenCode, kKingCode };

// The code of a byte of the table (the blank gives 0), or nothing for any other byte.
std::optional<int32_t> PieceCodeOfLetter(char letter);
// The letter of a code from -6 to 6. Anything else is written '?', which no reading accepts.
char LetterOfPieceCode(int32_t code);
// One of the twelve piece letters.
bool IsPieceLetter(char c);

// The lower-case letters that name a promotion piece, and their codes 2 (knight) to 5 (queen).
std::optional<int32_t> PromotionCodeOfLetter(char letter);
// The letter of a promotion code 2..5; the zero byte for any other code.
char PromotionLetter(int32_t code);

// Castling rights in their written order: white king side, white queen side, black king
// side, black queen side.
inline constexpr std::string_view kCastlingLetters = "KQkq";

// ---- The placement field ----

// The lenient loaders' walk: from a8, "/" starts the next rank down at file a, a digit 1..8
// passes that many empty squares, a byte of the letter table puts its code; any other byte
// is skipped without moving on. No rank's length is checked: `put(file, rank, code)`
// (files and ranks 1..8) is called only for squares on the board, and the counters stop
// just past it, so no text, however long, pushes them further.
template <class Put>
void WalkPlacement(std::string_view placement, Put&& put) {
  int32_t file = 1;
  int32_t rank = 8;
  const auto step = [&](int32_t code) {
    if (file <= 8 && rank >= 1) put(file, rank, code);
    if (file <= 8) ++file;
  };
  for (const char c : placement) {
    if (c == '/') {
      file = 1;
      if (rank >= 1) --rank;
    } else if (c >= '1' && c <= '8') {
      for (int empty = c - '0'; empty > 0; --empty) step(0);
    } else if (const std::optional<int32_t> code = PieceCodeOfLetter(c)) {
      step(*code);
    }
  }
}

// The strict reading: eight ranks of exactly eight squares from a8 down, written with the
// digits 1..8 and the twelve letters only. `put(file, rank, code)` (1..8) may refuse a
// piece by returning false. False for any other text.
template <class Put>
bool ReadPlacementStrictly(std::string_view placement, Put&& put) {
  int32_t file = 1;
  int32_t rank = 8;
  for (const char c : placement) {
    if (c == '/') {
      if (file != 9 || rank == 1) return false;
      --rank;
      file = 1;
    } else if (c >= '1' && c <= '8') {
      file += c - '0';
      if (file > 9) return false;
    } else {
      if (!IsPieceLetter(c) || file > 8) return false;
      if (!put(file, rank, *PieceCodeOfLetter(c))) return false;
      ++file;
    }
  }
  return rank == 1 && file == 9;
}

// ---- Squares and moves ----

// File 1..8 is written "a".."h" and rank 1..8 "1".."8", by character code (file + 96,
// rank + 48). Other numbers wrap within a byte, so every value has a written form.
char FileLetter(int32_t file);
char RankDigit(int32_t rank);
// The reverse, unchecked: the character's code less 96, or less 48.
constexpr int32_t FileOfLetter(char letter) { return static_cast<unsigned char>(letter) - 96; }
constexpr int32_t RankOfDigit(char digit) { return static_cast<unsigned char>(digit) - 48; }
constexpr bool IsFileLetter(char c) { return c >= 'a' && c <= 'h'; }
constexpr bool IsRankDigit(char c) { return c >= '1' && c <= '8'; }

// The lenient loaders' en-passant field: exactly two characters read as a file and a rank
// by their codes, unchecked; nothing for a field of any other length ("-" included).
struct SquareCoordinates {
  int32_t file = 0;
  int32_t rank = 0;
};
std::optional<SquareCoordinates> ReadSquareUnchecked(std::string_view field);

// The text begins with a file letter, a rank digit, a file letter and a rank digit.
bool BeginsWithMoveSquares(std::string_view text);

// A move text, zero-terminated: from-square, to-square and an optional promotion letter
// ("e2e4", "e7e8q"); castling is the king's two-square step. Empty for no move.
struct MoveText {
  std::array<char, 6> chars{};
  const char* c_str() const { return chars.data(); }
  std::string_view view() const { return chars.data(); }
  bool empty() const { return chars[0] == '\0'; }
};
// Squares by file and rank 1..8; a promotion code 2..5 adds its letter, any other none.
MoveText WriteMoveText(int32_t fromFile, int32_t fromRank, int32_t toFile, int32_t toRank,
                       int32_t promotionCode = 0);

}  // namespace notation
