// UCI move texts both ways, and the check and mate questions on hand-set positions.
#include <gtest/gtest.h>

#include "rules/rules.h"

namespace {

using rules::Position;

TEST(MoveTextTest, WritesAndFindsEveryKindOfMove) {
  const auto position = Position::FromFen("r3k2r/1P6/8/3pP3/8/8/8/R3K2R w KQkq d6 0 1");
  ASSERT_TRUE(position.has_value());
  struct Case {
    const char* text;
    bool legal;
  };
  const Case cases[] = {
      {"e1g1", true},  {"e1c1", true},  {"e5d6", true},  {"b7b8q", true}, {"b7a8n", true},
      {"b7b8", false}, {"b7b8k", false}, {"b7b8p", false}, {"e1e3", false}, {"e5e6q", false},
      {"E1G1", false}, {"e1g1 ", false}, {"", false},       {"a1a1", false}, {"h1h8", true},
  };
  for (const Case& c : cases) {
    const auto move = rules::ParseUciMove(*position, c.text);
    EXPECT_EQ(move.has_value(), c.legal) << c.text;
    if (move) {
      EXPECT_EQ(rules::ToUci(*move).view(), c.text);
    }
  }
}

TEST(MoveTextTest, AnyBitsAreSafeToWriteAndToAskAbout) {
  const Position start = Position::StartPosition();
  int legal = 0;
  for (int bits = 0; bits < 1 << 16; ++bits) {
    const rules::Move move = rules::Move::FromBits(static_cast<std::uint16_t>(bits));
    const rules::MoveText text = rules::ToUci(move);
    ASSERT_GE(text.view().size(), 4u);
    ASSERT_LE(text.view().size(), 5u);
    if (rules::IsLegalMove(start, move)) {
      EXPECT_EQ(rules::ParseUciMove(start, text.view()), move) << text.view();
      ++legal;
    }
  }
  EXPECT_EQ(legal, 20);
}

TEST(MoveTextTest, CheckMateAndStalemate) {
  struct Case {
    const char* fen;
    bool inCheck;
    bool mate;
    bool stalemate;
  };
  const Case cases[] = {
      {"rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3", true, true, false},  // fool's mate
      {"7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", false, false, true},
      {"7k/6Q1/6K1/8/8/8/8/8 b - - 0 1", true, true, false},
      {"7k/8/6K1/8/8/8/8/7R b - - 0 1", true, false, false},
      {"k7/8/8/8/8/8/8/K7 w - - 0 1", false, false, false},
  };
  for (const Case& c : cases) {
    const auto position = Position::FromFen(c.fen);
    ASSERT_TRUE(position.has_value()) << c.fen;
    EXPECT_EQ(position->InCheck(), c.inCheck) << c.fen;
    EXPECT_EQ(rules::IsCheckmate(*position), c.mate) << c.fen;
    EXPECT_EQ(rules::IsStalemate(*position), c.stalemate) << c.fen;
  }
}

TEST(MoveTextTest, GivesCheckAgreesWithMakingTheMove) {
  // Direct, discovered, castling-rook, en-passant-discovered and promotion checks.
  const char* const fens[] = {
      "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
      "5k2/8/8/8/8/8/8/4K2R w K - 0 1",
      "8/8/8/R2pP2k/8/8/8/4K3 w - d6 0 1",
      "1n2k3/P7/8/8/3B4/8/5R2/4K3 w - - 0 1",
      "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
      "3k4/8/8/8/8/8/8/R3K3 w Q - 0 1",
  };
  for (const char* fen : fens) {
    auto position = Position::FromFen(fen);
    ASSERT_TRUE(position.has_value()) << fen;
    rules::MoveList moves;
    rules::GenerateLegalMoves(*position, moves);
    const rules::CheckInfo info = position->ComputeCheckInfo();
    rules::MoveList checks;
    rules::GenerateChecks(*position, info, checks);
    int checking = 0;
    rules::UndoInfo undo;
    for (rules::Move move : moves) {
      const bool predicted = position->GivesCheck(move);
      EXPECT_EQ(position->GivesCheck(move, info), predicted) << fen << " " << rules::ToUci(move).view();
      position->MakeMove(move, undo);
      EXPECT_EQ(predicted, position->InCheck()) << fen << " " << rules::ToUci(move).view();
      position->UnmakeMove(move, undo);
      if (predicted) {
        EXPECT_EQ(checks[checking++], move) << fen << " " << rules::ToUci(move).view();
      }
    }
    EXPECT_EQ(checks.Size(), checking) << fen;
  }
}

}  // namespace
