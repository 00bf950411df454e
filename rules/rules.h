#pragma once
// The legal-move chess core: a bitboard position, strict FEN reading, fully legal
// move generation, make/unmake, check detection and perft. Nothing here allocates
// or does I/O, so the mate solver and the book can call it on every node.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "notation/notation.h"

namespace rules {

using Bitboard = std::uint64_t;

// Squares run a1 = 0, b1 = 1, ..., h1 = 7, a2 = 8, ..., h8 = 63.
using Square = int;
constexpr Square kNoSquare = -1;
constexpr int FileOf(Square square) { return square & 7; }
constexpr int RankOf(Square square) { return square >> 3; }
constexpr Square MakeSquare(int file, int rank) { return rank * 8 + file; }
constexpr Bitboard SquareBit(Square square) { return Bitboard{1} << square; }

enum class Color : std::uint8_t { kWhite = 0, kBlack = 1 };
constexpr Color Opponent(Color color) { return color == Color::kWhite ? Color::kBlack : Color::kWhite; }
constexpr int Index(Color color) { return static_cast<int>(color); }

enum PieceType : std::uint8_t { kNoPieceType = 0, kPawn, kKnight, kBishop, kRook, kQueen, kKing };

// A piece is its type plus 8 for black: 0 is an empty square.
enum Piece : std::uint8_t { kNoPiece = 0 };
constexpr Piece MakePiece(Color color, PieceType type) {
  return static_cast<Piece>(type | (Index(color) << 3));
}
constexpr PieceType TypeOf(Piece piece) { return static_cast<PieceType>(piece & 7); }
constexpr Color ColorOf(Piece piece) { return static_cast<Color>(piece >> 3); }

enum CastlingRight : std::uint8_t {
  kWhiteKingside = 1,
  kWhiteQueenside = 2,
  kBlackKingside = 4,
  kBlackQueenside = 8,
};

// From-square, to-square and promotion piece type in 15 bits. Castling is the king's
// two-square step; en passant is a pawn's diagonal step onto the en-passant square.
class Move {
 public:
  constexpr Move() = default;
  constexpr Move(Square from, Square to, PieceType promotion = kNoPieceType)
      : bits_(static_cast<std::uint16_t>(from | (to << 6) | (promotion << 12))) {}
  constexpr Square From() const { return bits_ & 63; }
  constexpr Square To() const { return (bits_ >> 6) & 63; }
  constexpr PieceType Promotion() const { return static_cast<PieceType>(bits_ >> 12); }
  constexpr bool IsNone() const { return bits_ == 0; }
  constexpr std::uint16_t Bits() const { return bits_; }
  static constexpr Move FromBits(std::uint16_t bits) {
    Move move;
    move.bits_ = bits;
    return move;
  }
  friend constexpr bool operator==(Move, Move) = default;

 private:
  std::uint16_t bits_ = 0;
};

// Room for every legal move of any position FromFen accepts (the record is 218). The
// storage is left uninitialised, since lists are made on every node of a search and
// only the first Size() entries are ever read.
class MoveList {
 public:
  static constexpr int kCapacity = 256;

  class Iterator {
   public:
    explicit Iterator(const std::uint16_t* at) : at_(at) {}
    Move operator*() const { return Move::FromBits(*at_); }
    Iterator& operator++() {
      ++at_;
      return *this;
    }
    friend bool operator==(Iterator, Iterator) = default;

   private:
    const std::uint16_t* at_;
  };

  MoveList() {}  // NOLINT: leaves the entries uninitialised on purpose
  void Clear() { size_ = 0; }
  void Add(Move move) {
    if (size_ < kCapacity) bits_[size_++] = move.Bits();
  }
  int Size() const { return size_; }
  bool Empty() const { return size_ == 0; }
  Move operator[](int index) const { return Move::FromBits(bits_[index]); }
  void Set(int index, Move move) { bits_[index] = move.Bits(); }
  Iterator begin() const { return Iterator(bits_); }
  Iterator end() const { return Iterator(bits_ + size_); }

 private:
  std::uint16_t bits_[kCapacity];
  int size_ = 0;
};

// What MakeMove needs to take a move back.
struct UndoInfo {
  std::uint64_t key;
  Piece captured;
  std::uint8_t castling;
  std::int8_t enPassant;
  std::uint16_t halfmoveClock;
};

// What the side to move needs to tell quickly whether a move of its gives check: the
// squares from which each piece type would attack the enemy king, and its own pieces
// that shield the king from one of its sliders.
struct CheckInfo {
  std::array<Bitboard, 7> checkSquares;
  Bitboard discoverers;
  Square enemyKing;
};

// UCI text of a move, zero-terminated: "e2e4", "e7e8q", castling as "e1g1".
using MoveText = notation::MoveText;
MoveText ToUci(Move move);

class Position {
 public:
  // Nothing for any text that is not a FEN of six (or four, without the clocks) fields
  // separated by single blanks, or whose position this core cannot play: a side without
  // exactly one king, a pawn on the first or last rank, more than 16 pieces or 8 pawns
  // on a side, more promoted pieces than missing pawns. A position whose side not to
  // move is in check is read (OpponentInCheck tells); its king is never captured.
  static std::optional<Position> FromFen(std::string_view fen);
  static Position StartPosition();

  Piece PieceOn(Square square) const { return board_[square]; }
  Color SideToMove() const { return side_; }
  // Castling rights as given (the FEN's field, less those a move has since spent).
  std::uint8_t CastlingRights() const { return castling_; }
  bool HasCastlingRight(CastlingRight right) const { return (castling_ & right) != 0; }
  // The en-passant square as the FEN gives it, or the square behind a pawn that has
  // just made a double step; kNoSquare otherwise.
  Square EnPassantSquare() const { return enPassant_; }
  int HalfmoveClock() const { return halfmoveClock_; }
  int FullmoveNumber() const { return fullmoveNumber_; }

  Bitboard Occupied() const { return byColor_[0] | byColor_[1]; }
  Bitboard Pieces(Color color) const { return byColor_[Index(color)]; }
  Bitboard Pieces(PieceType type) const { return byType_[type]; }
  Bitboard Pieces(Color color, PieceType type) const { return byColor_[Index(color)] & byType_[type]; }
  Square KingSquare(Color color) const;

  bool InCheck() const;
  // The side that has just moved would have its king capturable: no game reaches this.
  bool OpponentInCheck() const;
  bool IsAttackedBy(Color attacker, Square square) const;
  // Whether a legal move of the side to move checks the opponent's king.
  bool GivesCheck(Move move) const;
  CheckInfo ComputeCheckInfo() const;
  // The same answer, faster when many moves of one position are asked about.
  bool GivesCheck(Move move, const CheckInfo& info) const;

  // `move` must be legal here (one from GenerateLegalMoves).
  void MakeMove(Move move, UndoInfo& undo);
  void UnmakeMove(Move move, const UndoInfo& undo);

  // Zobrist key of placement, side to move, castling rights and an en-passant square
  // that a pawn stands ready to use. Equal positions have equal keys.
  std::uint64_t Key() const { return key_; }

 private:
  Position() = default;
  void PutPiece(Piece piece, Square square);
  void RemovePiece(Square square);
  std::uint64_t ComputeKey() const;
  std::uint64_t EnPassantKeyPart() const;

  std::array<Bitboard, 7> byType_{};
  std::array<Bitboard, 2> byColor_{};
  std::array<Piece, 64> board_{};
  std::uint64_t key_ = 0;
  Color side_ = Color::kWhite;
  std::uint8_t castling_ = 0;
  std::int8_t enPassant_ = kNoSquare;
  std::uint16_t halfmoveClock_ = 0;
  std::uint16_t fullmoveNumber_ = 1;
};

// Every legal move of the side to move, in a fixed order that depends on the position only.
void GenerateLegalMoves(const Position& position, MoveList& moves);
// The legal moves of the side to move that give check, in the same order.
void GenerateChecks(const Position& position, const CheckInfo& info, MoveList& moves);
bool HasLegalMove(const Position& position);
// Whether `move` (any bits at all) is one of the legal moves here; cheaper than
// generating them all when a remembered move is to be tried again.
bool IsLegalMove(const Position& position, Move move);
bool IsCheckmate(const Position& position);
bool IsStalemate(const Position& position);

// The legal move whose UCI text is `text` (promotion letter in lower case), if any.
std::optional<Move> ParseUciMove(const Position& position, std::string_view text);

// Leaf nodes of the legal move tree `depth` plies deep.
std::uint64_t Perft(Position& position, int depth);

}  // namespace rules
