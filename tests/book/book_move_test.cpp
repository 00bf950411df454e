#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "book/book.h"
#include "tests/book/book_writer.h"

namespace {

using book_test::MoveField;

struct DecodeCase {
  const char* what;
  std::uint16_t move;
  const char* fen;
  const char* text;
};

constexpr const char* kCastlingPosition = "r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R w KQkq - 0 1";
constexpr const char* kPromotionPosition = "1n2k3/P7/8/8/8/8/8/4K3 w - - 0 1";

const DecodeCase kDecodeCases[] = {
    {"white short castling", MoveField("e1", "h1"), kCastlingPosition, "e1g1"},
    {"white long castling", MoveField("e1", "a1"), kCastlingPosition, "e1c1"},
    {"black short castling", MoveField("e8", "h8"), "r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R b KQkq - 0 1", "e8g8"},
    {"black long castling", MoveField("e8", "a8"), "r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R b KQkq - 0 1", "e8c8"},
    {"a rook on e1 taking on h1 is no castling", MoveField("e1", "h1"), "4k3/8/8/8/8/8/8/K3R2n w - - 0 1", "e1h1"},
    {"a queen on e8 taking on a8 is no castling", MoveField("e8", "a8"), "n3q3/8/8/8/8/8/8/K5k1 b - - 0 1", "e8a8"},
    {"knight promotion", MoveField("a7", "a8", 1), kPromotionPosition, "a7a8n"},
    {"bishop promotion", MoveField("a7", "a8", 2), kPromotionPosition, "a7a8b"},
    {"rook promotion", MoveField("a7", "a8", 3), kPromotionPosition, "a7a8r"},
    {"queen promotion with a capture", MoveField("a7", "b8", 4), kPromotionPosition, "a7b8q"},
    {"an ordinary move", MoveField("g1", "f3"), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", "g1f3"},
    {"the move 0 (a1a1) is no move", 0, kCastlingPosition, ""},
    {"a from-square equal to the to-square is no move", MoveField("e2", "e2"), kCastlingPosition, ""},
    {"promotion codes past 4 are no move", MoveField("a7", "a8", 5), kPromotionPosition, ""},
    {"promotion code 7 is no move", MoveField("a7", "a8", 7), kPromotionPosition, ""},
    {"the top bit set is no move", static_cast<std::uint16_t>(MoveField("e2", "e4") | 0x8000),
     kCastlingPosition, ""},
    {"a text that is no FEN decodes nothing", MoveField("e2", "e4"), "not a fen", ""},
};

TEST(BookMoveDecoding, FieldsBecomeMoveTexts) {
  for (const DecodeCase& c : kDecodeCases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(book::BookMoveText(c.move, c.fen), c.text);
  }
}

}  // namespace
