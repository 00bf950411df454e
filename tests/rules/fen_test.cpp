// Reading FEN text: what is accepted, what each field becomes, and every kind of
// malformed or unplayable text refused without a crash.
#include <gtest/gtest.h>

#include <string>

#include "rules/rules.h"

namespace {

using rules::Color;
using rules::MakePiece;
using rules::MakeSquare;
using rules::Position;

TEST(FenTest, StartPositionFields) {
  const Position start = Position::StartPosition();
  EXPECT_EQ(start.PieceOn(MakeSquare(4, 0)), MakePiece(Color::kWhite, rules::kKing));
  EXPECT_EQ(start.PieceOn(MakeSquare(3, 7)), MakePiece(Color::kBlack, rules::kQueen));
  EXPECT_EQ(start.PieceOn(MakeSquare(4, 4)), rules::kNoPiece);
  EXPECT_EQ(start.SideToMove(), Color::kWhite);
  EXPECT_EQ(start.CastlingRights(), 15);
  EXPECT_EQ(start.EnPassantSquare(), rules::kNoSquare);
  EXPECT_EQ(start.HalfmoveClock(), 0);
  EXPECT_EQ(start.FullmoveNumber(), 1);
}

TEST(FenTest, FieldsAreKeptAsGiven) {
  // Rights without the matching rook, and an en-passant square no pawn can use, are
  // kept as written: the book hashes them as given.
  const auto position = Position::FromFen("4k3/8/8/8/4P3/8/8/4K3 b Kq e3 7 42");
  ASSERT_TRUE(position.has_value());
  EXPECT_EQ(position->SideToMove(), Color::kBlack);
  EXPECT_TRUE(position->HasCastlingRight(rules::kWhiteKingside));
  EXPECT_FALSE(position->HasCastlingRight(rules::kWhiteQueenside));
  EXPECT_FALSE(position->HasCastlingRight(rules::kBlackKingside));
  EXPECT_TRUE(position->HasCastlingRight(rules::kBlackQueenside));
  EXPECT_EQ(position->EnPassantSquare(), MakeSquare(4, 2));
  EXPECT_EQ(position->HalfmoveClock(), 7);
  EXPECT_EQ(position->FullmoveNumber(), 42);
  rules::MoveList moves;
  rules::GenerateLegalMoves(*position, moves);
  EXPECT_EQ(moves.Size(), 5) << "no castling without a rook, no en passant without a pawn";
}

TEST(FenTest, FourFieldsMeanClocksZeroAndOne) {
  const auto position = Position::FromFen("4k3/8/8/8/8/8/8/4K3 w - -");
  ASSERT_TRUE(position.has_value());
  EXPECT_EQ(position->HalfmoveClock(), 0);
  EXPECT_EQ(position->FullmoveNumber(), 1);
}

TEST(FenTest, KeyDependsOnEveryPlayingField) {
  const auto base = Position::FromFen("r3k2r/8/8/3pP3/8/8/8/R3K2R w KQkq d6 0 1");
  const auto noEnPassant = Position::FromFen("r3k2r/8/8/3pP3/8/8/8/R3K2R w KQkq - 0 1");
  const auto otherRights = Position::FromFen("r3k2r/8/8/3pP3/8/8/8/R3K2R w Kkq d6 0 1");
  const auto otherSide = Position::FromFen("r3k2r/8/8/3pP3/8/8/8/R3K2R b KQkq - 0 1");
  const auto otherClocks = Position::FromFen("r3k2r/8/8/3pP3/8/8/8/R3K2R w KQkq d6 12 30");
  ASSERT_TRUE(base && noEnPassant && otherRights && otherSide && otherClocks);
  EXPECT_NE(base->Key(), noEnPassant->Key());
  EXPECT_NE(base->Key(), otherRights->Key());
  EXPECT_NE(noEnPassant->Key(), otherSide->Key());
  EXPECT_EQ(base->Key(), otherClocks->Key()) << "the clocks do not change what can be played";
}

TEST(FenTest, SideNotToMoveInCheckIsPlayedWithoutTakingTheKing) {
  auto position = Position::FromFen("4k3/4R3/8/8/8/8/8/4K3 w - - 0 1");
  ASSERT_TRUE(position.has_value());
  EXPECT_TRUE(position->OpponentInCheck());
  EXPECT_FALSE(rules::ParseUciMove(*position, "e7e8").has_value());
  rules::MoveList moves;
  rules::GenerateLegalMoves(*position, moves);
  EXPECT_EQ(moves.Size(), 17);  // 12 rook moves (e8 excluded), 5 king moves
  EXPECT_GT(rules::Perft(*position, 3), 0u);
}

const char* const kRefused[] = {
    "",
    " ",
    "8/8/8/8/8/8/8/8 w - - 0 1",                                     // no kings
    "4k3/8/8/8/8/8/8/4KK2 w - - 0 1",                                // two white kings
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR",                   // one field
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0",        // five fields
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1 x",    // seven fields
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR  w KQkq - 0 1",     // double blank
    " rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",     // leading blank
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1 ",     // trailing blank
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1\n",    // line end
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP w KQkq - 0 1",               // seven ranks
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR/8 w KQkq - 0 1",    // nine ranks
    "rnbqkbnr/pppppppp/9/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",      // digit 9
    "rnbqkbnr/ppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",       // short rank
    "rnbqkbnr/ppppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",     // long rank
    "rnbqkbnr/pppppppp/44/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",     // 4+4 is fine...
    "rnbqkbnr/pppppppp/71/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",     // ...and so is 7+1
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNX w KQkq - 0 1",      // unknown letter
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x KQkq - 0 1",      // side
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR W KQkq - 0 1",      // side in upper case
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkqK - 0 1",     // five rights
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KK - 0 1",        // repeated right
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w HAha - 0 1",      // file letters
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq e3 0 1",     // e3 with white to move
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq i6 0 1",     // off the board
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq e 0 1",      // half a square
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - -1 1",     // negative clock
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 70000",  // too large
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1x",     // not a number
    "Pnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",      // pawn on the last rank
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/pNBQKBNR w KQkq - 0 1",      // pawn on the first rank
    "4k3/8/8/8/8/8/PPPPPPPP/PPPPK3 w - - 0 1",                       // impossible: rank 1 pawns
    "4k3/pppppppp/p7/8/8/8/8/4K3 w - - 0 1",                         // nine pawns
    "QQQQkQQQ/QQQQQQQQ/8/8/8/8/8/4K3 w - - 0 1",                     // too many pieces
    "4k3/8/8/8/8/8/PPPPPPPP/QQQK4 w - - 0 1",                        // queens beyond promotions
};

TEST(FenTest, RefusesWhatItCannotPlay) {
  for (const char* fen : kRefused) {
    const bool expectAccepted = std::string(fen).find("/44/") != std::string::npos ||
                                std::string(fen).find("/71/") != std::string::npos;
    EXPECT_EQ(Position::FromFen(fen).has_value(), expectAccepted) << '"' << fen << '"';
  }
}

TEST(FenTest, RefusesBinaryAndHugeTexts) {
  std::string binary = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
  binary[10] = '\0';
  EXPECT_FALSE(Position::FromFen(binary).has_value());
  binary[10] = '\xff';
  EXPECT_FALSE(Position::FromFen(binary).has_value());
  EXPECT_FALSE(Position::FromFen(std::string(1 << 20, '/')).has_value());
  EXPECT_FALSE(Position::FromFen(std::string(1 << 20, ' ')).has_value());
  EXPECT_FALSE(Position::FromFen(std::string(1 << 20, '1')).has_value());
  // Every prefix of a good FEN is either refused or one of the accepted forms.
  const std::string good = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1";
  for (std::size_t length = 0; length < good.size(); ++length) {
    const auto position = Position::FromFen(good.substr(0, length));
    if (position) {
      EXPECT_EQ(good.substr(0, length), "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -");
    }
  }
}

}  // namespace
