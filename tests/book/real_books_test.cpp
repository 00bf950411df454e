#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "book/book.h"
#include "tests/book/book_lookup.h"
#include "tests/support/engine_process.h"

namespace {

using book_test::FindOpening;
using book_test::WithTrackerEnPassant;
using test_support::EngineProcess;
using test_support::GamesProgram;
using test_support::ReadLines;
using test_support::RunShell;
using test_support::TempDir;

const std::filesystem::path kData = BRINDLET_TEST_DATA;
const std::filesystem::path kRoot = kData.parent_path().parent_path();
constexpr const char* kStartFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

std::vector<std::string> Words(const std::string& line) {
  std::istringstream stream(line);
  std::vector<std::string> words;
  for (std::string word; stream >> word;) words.push_back(word);
  return words;
}

// The move texts of a line "position startpos moves ...".
std::vector<std::string> MovesOf(const std::string& line) {
  std::vector<std::string> words = Words(line);
  if (words.size() < 3) return {};
  return std::vector<std::string>(words.begin() + 3, words.end());
}

// Polyglot itself, as a UCI adapter that plays its book's heaviest move, in front of an engine
// that knows no move: its answer is polyglot's own reading of the book, or nothing. It is told
// the moves from the start position and keeps its own board, so its key owes nothing to ours.
class PolyglotOracle {
 public:
  PolyglotOracle(const std::filesystem::path& dir, const std::string& book)
      : process_(dir, {GamesProgram("polyglot"), "-noini", "-ec", (kData / "book" / "no_move_engine.sh").string(),
                       "-pg", "Book=true", "-pg", "BookFile=" + book, "-pg", "BookRandom=false", "-pg",
                       "BookTreshold=0", "-pg", "BookDepth=256"}) {
    process_.Write("uci\nisready\n");
    while (std::optional<std::string> line = process_.ReadLine()) {
      if (line->rfind("readyok", 0) == 0) return;
    }
    ADD_FAILURE() << "polyglot did not start";
  }
  ~PolyglotOracle() { process_.Write("quit\n"); }

  std::optional<std::string> BookMove(const std::vector<std::string>& moves, std::size_t count) {
    std::string command = "position startpos moves";
    for (std::size_t i = 0; i < count; ++i) command += " " + moves[i];
    process_.Write(command + "\ngo wtime 100000 btime 100000\n");
    while (std::optional<std::string> line = process_.ReadLine()) {
      const std::vector<std::string> words = Words(*line);
      if (words.size() >= 2 && words[0] == "bestmove") {
        if (words[1] == "0000") return std::nullopt;
        return words[1];
      }
    }
    ADD_FAILURE() << "polyglot gave no answer after " << count << " moves";
    return std::nullopt;
  }

 private:
  EngineProcess process_;
};

class RealBooks : public ::testing::Test {
 protected:
  void SetUp() override {
    int status = -1;
    RunShell("bash " + (kRoot / "scripts" / "make-books.sh").string() + " " + dir_.path().string(), &status);
    ASSERT_EQ(status, 0);
  }
  void TearDown() override { book::CloseBooks(); }
  std::string Book(const char* name) const { return dir_.File(name); }
  TempDir dir_;
};

TEST_F(RealBooks, MainBookAgreesWithPolyglotAlongHundredRealGames) {
  ASSERT_TRUE(book::OpenBooks("", Book("mainbook.bin")));
  PolyglotOracle oracle(dir_.path(), Book("mainbook.bin"));
  // Stockfish's FEN after each ply of each game; the startpos games come first.
  std::map<int, std::vector<std::string>> fens;
  for (const std::string& line : ReadLines(kData / "games" / "trace.txt")) {
    const std::size_t first = line.find(' ');
    const std::size_t second = line.find(' ', first + 1);
    const int game = std::stoi(line.substr(0, first));
    if (game < 100) fens[game].push_back(line.substr(second + 1));
  }
  const std::vector<std::string> games = ReadLines(kData / "games" / "startpos_games.txt");
  ASSERT_GE(games.size(), 100u);
  int positions = 0;
  int hits = 0;
  for (int game = 0; game < 100; ++game) {
    const std::vector<std::string> moves = MovesOf(games[static_cast<std::size_t>(game)]);
    const std::vector<std::string>& trace = fens[game];
    ASSERT_EQ(trace.size(), moves.size() + 1) << "game " << game;
    std::string fen = kStartFen;
    for (std::size_t ply = 0; ply <= moves.size(); ++ply) {
      if (ply > 0) fen = WithTrackerEnPassant(trace[ply - 1], trace[ply], moves[ply - 1]);
      const std::optional<std::string> ours = FindOpening(fen);
      const std::optional<std::string> theirs = oracle.BookMove(moves, ply);
      ASSERT_EQ(ours, theirs) << "game " << game << " ply " << ply << ": " << fen;
      ++positions;
      hits += ours.has_value();
    }
  }
  std::printf("%d positions, %d found in the main book\n", positions, hits);
  EXPECT_GT(hits, 200);
}

TEST_F(RealBooks, TourBookAgreesWithPolyglotAlongItsOwnLines) {
  ASSERT_TRUE(book::OpenBooks(Book("tourbook.bin"), ""));
  PolyglotOracle oracle(dir_.path(), Book("tourbook.bin"));
  // From the start position the tour book follows itself until it runs out.
  std::string fen = kStartFen;
  std::vector<std::string> moves;
  for (std::optional<std::string> move = FindOpening(fen); move; move = FindOpening(fen)) {
    EXPECT_EQ(move, oracle.BookMove(moves, moves.size())) << fen;
    moves.push_back(*move);
    const std::string before = fen;
    std::string after = RunShell("printf 'position fen " + fen + " moves " + *move +
                                 "\\nd\\nquit\\n' | " + GamesProgram("stockfish") + " | sed -n 's/^Fen: //p'");
    while (!after.empty() && (after.back() == '\n' || after.back() == '\r')) after.pop_back();
    fen = WithTrackerEnPassant(before, after, *move);
    ASSERT_LT(moves.size(), 60u);
  }
  EXPECT_EQ(oracle.BookMove(moves, moves.size()), std::nullopt) << "polyglot goes on after " << fen;
  // The default tour book plays a whole main line, not a move or two.
  EXPECT_GE(moves.size(), 8u);
}

TEST_F(RealBooks, ToolListsTheEntriesOfBothBooksAndTheMoveChosen) {
  int status = -1;
  const std::string output = RunShell(
      "cd " + dir_.path().string() + " && " + test_support::ToolCommand() + " book '" + kStartFen + "'", &status);
  EXPECT_EQ(status, 0) << output;
  EXPECT_NE(output.find("key 463b96181691fc9c"), std::string::npos) << output;
  EXPECT_NE(output.find("tour tourbook.bin: 124 entries in the book, 3 for this position"), std::string::npos)
      << output;
  EXPECT_NE(output.find("main mainbook.bin: 180358 entries in the book, 13 for this position"), std::string::npos)
      << output;
  EXPECT_NE(output.find("  g1f3   weight  3745 learn 0"), std::string::npos) << output;
  EXPECT_NE(output.find("move: e2e4"), std::string::npos) << output;

  const std::string missing = RunShell("cd " + dir_.path().string() + " && " + test_support::ToolCommand() +
                                           " book '8/8/8/8/8/8/8/k6K w - - 0 1'",
                                       &status);
  EXPECT_NE(status, 0);
  EXPECT_NE(missing.find("move: none"), std::string::npos) << missing;
}

// A book that polyglot builds from a known PGN gives back the moves that PGN played.
TEST_F(RealBooks, BookBuiltFromKnownGamesReturnsTheirMoves) {
  const std::string book = Book("known.bin");
  int status = -1;
  RunShell("cd " + dir_.path().string() + " && " + GamesProgram("polyglot") + " make-book -pgn " +
               (kData / "book" / "known_lines.pgn").string() + " -bin " + book + " -min-game 1 >/dev/null",
           &status);
  ASSERT_EQ(status, 0);
  ASSERT_TRUE(book::OpenBooks(book, ""));
  // The same games as move texts, and the FEN after every ply from stockfish.
  std::map<std::string, std::set<std::string>> played;
  std::vector<std::pair<std::string, std::string>> steps;  // FEN, move played there
  for (const std::string& line : ReadLines(kData / "book" / "known_lines.txt")) {
    const std::vector<std::string> moves = MovesOf(line);
    std::string script;
    for (std::size_t ply = 0; ply <= moves.size(); ++ply) {
      script += "position startpos moves";
      for (std::size_t i = 0; i < ply; ++i) script += " " + moves[i];
      script += "\\nd\\n";
    }
    std::istringstream output(RunShell("printf '" + script + "quit\\n' | " + GamesProgram("stockfish") +
                                       " | sed -n 's/^Fen: //p'"));
    std::vector<std::string> trace;
    for (std::string fen; std::getline(output, fen);) trace.push_back(fen);
    ASSERT_EQ(trace.size(), moves.size() + 1) << line;
    std::string fen = trace[0];
    for (std::size_t ply = 0; ply < moves.size(); ++ply) {
      if (ply > 0) fen = WithTrackerEnPassant(trace[ply - 1], trace[ply], moves[ply - 1]);
      played[fen].insert(moves[ply]);
      steps.emplace_back(fen, moves[ply]);
    }
  }
  ASSERT_EQ(steps.size(), 66u);
  // A FEN written by only following the moves may keep the right of a rook taken in its corner;
  // the book builder dropped it, and so the lookup still finds the move.
  steps.emplace_back("Bnbqkb1r/2pp1ppp/p3pn2/8/8/6P1/PPPPPP1P/RNBQK1NR b KQkq - 0 4", "f8c5");
  steps.emplace_back("Q1bqkb1r/p2npppp/5n2/8/8/8/PPPP1PPP/RNBQKBNR b KQkq - 0 5", "e7e5");
  for (std::size_t extra = steps.size() - 2; extra < steps.size(); ++extra) played[steps[extra].first].insert(steps[extra].second);
  for (const auto& [fen, move] : steps) {
    const std::optional<std::string> found = FindOpening(fen);
    ASSERT_TRUE(found.has_value()) << "no book move for " << fen << " where " << move << " was played";
    if (played[fen].size() == 1) {
      EXPECT_EQ(*found, move) << fen;
    } else {
      EXPECT_TRUE(played[fen].count(*found)) << fen << " gave " << *found;
    }
  }
}

}  // namespace
