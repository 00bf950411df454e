#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "book/book.h"
#include "book/entry_points.h"
#include "tests/book/book_lookup.h"
#include "tests/book/book_writer.h"
#include "tests/support/engine_process.h"

namespace {

using book_test::BookBytes;
using book_test::FindOpening;
using book_test::kStart;
using book_test::kStartKey;
using book_test::MoveField;
using book_test::RawEntry;
using book_test::WriteFile;


std::uint64_t KeyOf(const char* fen) { return *book::PolyglotKeyOfFen(fen); }

// Books written for one test; INITIALIZE is given their names, tour book first.
class BookChoice : public ::testing::Test {
 protected:
  void TearDown() override { book::CloseBooks(); }
  void Open(const std::vector<RawEntry>& tour, const std::vector<RawEntry>& main) {
    const std::string tourPath = dir_.File("tour.bin");
    const std::string mainPath = dir_.File("main.bin");
    WriteFile(tourPath, BookBytes(tour));
    WriteFile(mainPath, BookBytes(main));
    ASSERT_TRUE(book::OpenBooks(tourPath, mainPath));
  }
  test_support::TempDir dir_;
};

struct ChoiceCase {
  const char* what;
  std::vector<RawEntry> tour;
  std::vector<RawEntry> main;
  const char* fen;
  std::optional<std::string> move;
};

const std::vector<ChoiceCase>& ChoiceCases() {
  static const std::vector<ChoiceCase> cases = {
      {"the highest weight wins, wherever it stands",
       {},
       {{kStartKey, MoveField("d2", "d4"), 5}, {kStartKey, MoveField("g1", "f3"), 9}, {kStartKey, MoveField("e2", "e4"), 7}},
       kStart,
       "g1f3"},
      {"on a tie the first entry in file order wins",
       {},
       {{kStartKey, MoveField("c2", "c4"), 7}, {kStartKey, MoveField("e2", "e4"), 7}, {kStartKey, MoveField("d2", "d4"), 7}},
       kStart,
       "c2c4"},
      {"an illegal entry (a collision or corruption) is never played, however heavy",
       {},
       {{kStartKey, MoveField("e2", "e5"), 60000}, {kStartKey, MoveField("e1", "e2"), 50000},
        {kStartKey, MoveField("d7", "d5"), 40000}, {kStartKey, MoveField("b1", "d2"), 30000},
        {kStartKey, MoveField("a2", "a3"), 1}},
       kStart,
       "a2a3"},
      {"the move 0 is skipped", {}, {{kStartKey, 0, 9}, {kStartKey, MoveField("b2", "b3"), 1}}, kStart, "b2b3"},
      {"entries of a weight of 0 are still moves when nothing else is there",
       {},
       {{kStartKey, MoveField("h2", "h3"), 0}, {kStartKey, MoveField("a2", "a3"), 0}},
       kStart,
       "h2h3"},
      {"the tour book comes first even with a lighter move",
       {{kStartKey, MoveField("c2", "c4"), 1}},
       {{kStartKey, MoveField("e2", "e4"), 60000}},
       kStart,
       "c2c4"},
      {"a tour book with only illegal entries hands over to the main book",
       {{kStartKey, MoveField("e2", "e5"), 9}},
       {{kStartKey, MoveField("e2", "e4"), 1}},
       kStart,
       "e2e4"},
      {"neither book knows the position", {{kStartKey + 1, MoveField("e2", "e4"), 1}}, {}, kStart, std::nullopt},
      {"white castling stored as king takes rook",
       {},
       {{KeyOf("r3k2r/pppq1ppp/2npbn2/2b1p3/2B1P3/2NPBN2/PPPQ1PPP/R3K2R w KQkq - 6 8"), MoveField("e1", "h1"), 3},
        {KeyOf("r3k2r/pppq1ppp/2npbn2/2b1p3/2B1P3/2NPBN2/PPPQ1PPP/R3K2R w KQkq - 6 8"), MoveField("e1", "a1"), 2}},
       "r3k2r/pppq1ppp/2npbn2/2b1p3/2B1P3/2NPBN2/PPPQ1PPP/R3K2R w KQkq - 6 8",
       "e1g1"},
      {"black long castling",
       {},
       {{KeyOf("r3k2r/pppq1ppp/2npbn2/2b1p3/2B1P3/2NPBN2/PPPQ1PPP/R4RK1 b kq - 7 8"), MoveField("e8", "a8"), 3}},
       "r3k2r/pppq1ppp/2npbn2/2b1p3/2B1P3/2NPBN2/PPPQ1PPP/R4RK1 b kq - 7 8",
       "e8c8"},
      {"castling without the right is illegal",
       {},
       {{KeyOf("r3k2r/pppq1ppp/2npbn2/2b1p3/2B1P3/2NPBN2/PPPQ1PPP/R3K2R w Qkq - 6 8"), MoveField("e1", "h1"), 3}},
       "r3k2r/pppq1ppp/2npbn2/2b1p3/2B1P3/2NPBN2/PPPQ1PPP/R3K2R w Qkq - 6 8",
       std::nullopt},
      {"a promotion keeps its letter in the to-square text",
       {},
       {{KeyOf("1n2k3/P7/8/8/8/8/8/4K3 w - - 0 1"), MoveField("a7", "b8", 3), 1}},
       "1n2k3/P7/8/8/8/8/8/4K3 w - - 0 1",
       "a7b8r"},
      {"a pawn reaching the last rank without a promotion piece is illegal",
       {},
       {{KeyOf("1n2k3/P7/8/8/8/8/8/4K3 w - - 0 1"), MoveField("a7", "a8"), 1}},
       "1n2k3/P7/8/8/8/8/8/4K3 w - - 0 1",
       std::nullopt},
      {"an en-passant capture",
       {},
       {{KeyOf("rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3"), MoveField("e5", "f6"), 1}},
       "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3",
       "e5f6"},
      {"a text that is no FEN is a miss", {}, {{kStartKey, MoveField("e2", "e4"), 1}}, "rnbqkbnr/pppppppp", std::nullopt},
  };
  return cases;
}

TEST_F(BookChoice, ChoosesTheHeaviestLegalEntryTourBookFirst) {
  for (const ChoiceCase& c : ChoiceCases()) {
    SCOPED_TRACE(c.what);
    Open(c.tour, c.main);
    EXPECT_EQ(FindOpening(c.fen), c.move);
    book::CloseBooks();
  }
}

TEST_F(BookChoice, WritesTheTwoSquareTextsIntoTheirOwnBuffers) {
  Open({}, {{kStartKey, MoveField("g1", "f3"), 1}});
  char from[10];
  char to[10];
  std::memset(from, 'x', sizeof from);
  std::memset(to, 'x', sizeof to);
  char spare[4][20] = {};
  int32_t number = 0;
  ASSERT_EQ(FIND_OPENING(kStart, from, to, spare[0], spare[1], spare[2], spare[3], &number), 0);
  EXPECT_STREQ(from, "g1");
  EXPECT_STREQ(to, "f3");
  EXPECT_EQ(number, 0);
}

TEST_F(BookChoice, OddCallsAreMisses) {
  Open({}, {{kStartKey, MoveField("e2", "e4"), 1}});
  char from[10] = {};
  char to[10] = {};
  EXPECT_NE(FIND_OPENING(nullptr, from, to, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
  EXPECT_NE(FIND_OPENING(kStart, nullptr, to, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
  EXPECT_NE(FIND_OPENING(kStart, from, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
  // A FEN buffer with no zero byte in its 200 bytes is not read past its end.
  char unterminated[200];
  std::memset(unterminated, 'r', sizeof unterminated);
  EXPECT_NE(FIND_OPENING(unterminated, from, to, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
  // Binary bytes and a huge-looking text are misses, not crashes.
  char binary[200];
  for (int i = 0; i < 199; ++i) binary[i] = static_cast<char>(i * 37 + 1);
  binary[199] = '\0';
  EXPECT_NE(FIND_OPENING(binary, from, to, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
  // The start position is still found after all that.
  EXPECT_EQ(FindOpening(kStart), "e2e4");
}

}  // namespace
