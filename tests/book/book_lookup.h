#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "book/book.h"

namespace book_test {

// The start position and its published Polyglot key.
inline constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
inline constexpr std::uint64_t kStartKey = 0x463b96181691fc9cULL;

// The books' move for the FEN as a move text, or nothing.
inline std::optional<std::string> FindOpening(std::string_view fen) {
  const std::optional<rules::Move> move = book::FindMove(fen);
  if (!move) return std::nullopt;
  return std::string(rules::ToUci(*move).view());
}

// The FEN text that a position command with "startpos moves ..." leaves: the tracker names
// the en-passant square after every double step, where a full FEN writer may not.
// `fenBefore` and `fenAfter` are the FENs around `move` as any full FEN writer gives them.
inline std::string WithTrackerEnPassant(std::string_view fenBefore, std::string fenAfter,
                                        std::string_view move) {
  const int fromFile = move[0] - 'a';
  const int fromRank = move[1] - '1';
  const int toRank = move[3] - '1';
  const std::optional<rules::Position> before = rules::Position::FromFen(fenBefore);
  const bool pawn = before && rules::TypeOf(before->PieceOn(rules::MakeSquare(fromFile, fromRank))) == rules::kPawn;
  const bool doubleStep = pawn && (toRank - fromRank == 2 || fromRank - toRank == 2);
  // Fields: placement, side, castling, en passant, clocks.
  std::size_t start = 0;
  for (int field = 0; field < 3; ++field) start = fenAfter.find(' ', start) + 1;
  const std::size_t end = fenAfter.find(' ', start);
  std::string square = "-";
  if (doubleStep) {
    square = std::string(1, move[0]) + static_cast<char>('1' + (fromRank + toRank) / 2);
  }
  return fenAfter.replace(start, end - start, square);
}

}  // namespace book_test
