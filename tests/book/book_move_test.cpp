#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "book/book.h"

namespace {

// The move field: to-file in bits 0-2, to-row 3-5, from-file 6-8, from-row 9-11,
// promotion 12-14 (1 knight, 2 bishop, 3 rook, 4 queen).
constexpr std::uint16_t Field(const char* from, const char* to, int promotion = 0) {
  return static_cast<std::uint16_t>((to[0] - 'a') | (to[1] - '1') << 3 | (from[0] - 'a') << 6 |
                                    (from[1] - '1') << 9 | promotion << 12);
}

struct DecodeCase {
  const char* what;
  std::uint16_t move;
  const char* fen;
  const char* text;
};

constexpr const char* kCastlingPosition = "r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R w KQkq - 0 1";
constexpr const char* kPromotionPosition = "1n2k3/P7/8/8/8/8/8/4K3 w - - 0 1";

const DecodeCase kDecodeCases[] = {
    {"white short castling", Field("e1", "h1"), kCastlingPosition, "e1g1"},
    {"white long castling", Field("e1", "a1"), kCastlingPosition, "e1c1"},
    {"black short castling", Field("e8", "h8"), "r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R b KQkq - 0 1", "e8g8"},
    {"black long castling", Field("e8", "a8"), "r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R b KQkq - 0 1", "e8c8"},
    {"a rook on e1 taking on h1 is no castling", Field("e1", "h1"), "4k3/8/8/8/8/8/8/K3R2n w - - 0 1", "e1h1"},
    {"a queen on e8 taking on a8 is no castling", Field("e8", "a8"), "n3q3/8/8/8/8/8/8/K5k1 b - - 0 1", "e8a8"},
    {"knight promotion", Field("a7", "a8", 1), kPromotionPosition, "a7a8n"},
    {"bishop promotion", Field("a7", "a8", 2), kPromotionPosition, "a7a8b"},
    {"rook promotion", Field("a7", "a8", 3), kPromotionPosition, "a7a8r"},
    {"queen promotion with a capture", Field("a7", "b8", 4), kPromotionPosition, "a7b8q"},
    {"an ordinary move", Field("g1", "f3"), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", "g1f3"},
    {"the move 0 (a1a1) is no move", 0, kCastlingPosition, ""},
    {"a from-square equal to the to-square is no move", Field("e2", "e2"), kCastlingPosition, ""},
    {"promotion codes past 4 are no move", Field("a7", "a8", 5), kPromotionPosition, ""},
    {"promotion code 7 is no move", Field("a7", "a8", 7), kPromotionPosition, ""},
    {"the top bit set is no move", static_cast<std::uint16_t>(Field("e2", "e4") | 0x8000),
     kCastlingPosition, ""},
    {"a text that is no FEN decodes nothing", Field("e2", "e4"), "not a fen", ""},
};

TEST(BookMoveDecoding, FieldsBecomeMoveTexts) {
  for (const DecodeCase& c : kDecodeCases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(book::BookMoveText(c.move, c.fen), c.text);
  }
}

TEST(BookMoveDecoding, EveryFieldDecodesSafely) {
  // All 65536 fields: each is either no move or a well-formed move text.
  for (std::uint32_t move = 0; move <= 0xffff; ++move) {
    const std::string text = book::BookMoveText(static_cast<std::uint16_t>(move), kCastlingPosition);
    if (text.empty()) continue;
    ASSERT_TRUE(text.size() == 4 || text.size() == 5) << move;
    ASSERT_TRUE(text[0] >= 'a' && text[0] <= 'h' && text[1] >= '1' && text[1] <= '8') << move;
    ASSERT_TRUE(text[2] >= 'a' && text[2] <= 'h' && text[3] >= '1' && text[3] <= '8') << move;
    if (text.size() == 5) {
      ASSERT_NE(std::string("nbrq").find(text[4]), std::string::npos) << move;
    }
  }
}

}  // namespace
