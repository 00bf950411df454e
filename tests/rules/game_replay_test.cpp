// Plays the real games move by move and compares every position with the FEN that
// stockfish wrote after the same ply: pieces, side, rights, key and legal moves.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "rules/rules.h"
#include "tests/support/engine_process.h"

namespace {

using rules::Position;

struct Game {
  std::string startFen;
  std::vector<std::string> moves;
};

std::vector<Game> LoadGames() {
  std::vector<Game> games;
  for (const char* file : {"startpos_games.txt", "setup_games.txt"}) {
    for (const std::string& line : test_support::ReadLines(std::string(BRINDLET_TEST_DATA) + "/games/" + file)) {
      std::istringstream words(line);
      std::string word;
      Game game;
      words >> word >> word;  // "position", then "startpos" or "fen"
      if (word == "startpos") {
        game.startFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
      } else {
        std::string field;
        for (int i = 0; i < 6 && words >> field; ++i) game.startFen += (i ? " " : "") + field;
      }
      while (words >> word) {
        if (word != "moves") game.moves.push_back(word);
      }
      games.push_back(game);
    }
  }
  return games;
}

// trace.txt: "GAME PLY FEN" per line.
std::map<std::pair<int, int>, std::string> LoadTrace() {
  std::map<std::pair<int, int>, std::string> trace;
  for (const std::string& line : test_support::ReadLines(std::string(BRINDLET_TEST_DATA) + "/games/trace.txt")) {
    std::istringstream words(line);
    int game = 0;
    int ply = 0;
    words >> game >> ply;
    std::string fen;
    std::getline(words >> std::ws, fen);
    trace[{game, ply}] = fen;
  }
  return trace;
}

std::vector<std::string> SortedMoveTexts(const Position& position) {
  rules::MoveList moves;
  rules::GenerateLegalMoves(position, moves);
  std::vector<std::string> texts;
  for (rules::Move move : moves) texts.emplace_back(rules::ToUci(move).view());
  std::sort(texts.begin(), texts.end());
  return texts;
}

TEST(GameReplayTest, EveryPlyMatchesStockfishsFen) {
  const std::vector<Game> games = LoadGames();
  const auto trace = LoadTrace();
  ASSERT_EQ(games.size(), 250u);
  int pliesChecked = 0;
  for (int g = 0; g < static_cast<int>(games.size()); ++g) {
    auto played = Position::FromFen(games[g].startFen);
    ASSERT_TRUE(played.has_value()) << games[g].startFen;
    const Position start = *played;
    std::vector<std::pair<rules::Move, rules::UndoInfo>> history;
    for (int ply = 1; ply <= static_cast<int>(games[g].moves.size()); ++ply) {
      const std::string& text = games[g].moves[ply - 1];
      const auto move = rules::ParseUciMove(*played, text);
      ASSERT_TRUE(move.has_value()) << "game " << g << " ply " << ply << ": " << text << " refused";
      history.push_back({*move, {}});
      played->MakeMove(*move, history.back().second);

      const auto found = trace.find({g, ply});
      ASSERT_NE(found, trace.end()) << "game " << g << " ply " << ply;
      const auto expected = Position::FromFen(found->second);
      ASSERT_TRUE(expected.has_value()) << found->second;
      for (rules::Square s = 0; s < 64; ++s) ASSERT_EQ(played->PieceOn(s), expected->PieceOn(s)) << found->second;
      ASSERT_EQ(played->SideToMove(), expected->SideToMove()) << found->second;
      ASSERT_EQ(played->CastlingRights(), expected->CastlingRights()) << found->second;
      ASSERT_EQ(played->HalfmoveClock(), expected->HalfmoveClock()) << found->second;
      ASSERT_EQ(played->FullmoveNumber(), expected->FullmoveNumber()) << found->second;
      // Stockfish writes an en-passant square only when the capture is legal; we keep it
      // after every double step, so the keys meet whenever the squares do.
      if (played->EnPassantSquare() == expected->EnPassantSquare()) {
        ASSERT_EQ(played->Key(), expected->Key()) << found->second;
      }
      ASSERT_EQ(SortedMoveTexts(*played), SortedMoveTexts(*expected)) << found->second;
      ++pliesChecked;
    }
    for (auto entry = history.rbegin(); entry != history.rend(); ++entry) played->UnmakeMove(entry->first, entry->second);
    EXPECT_EQ(played->Key(), start.Key()) << "game " << g;
    for (rules::Square s = 0; s < 64; ++s) ASSERT_EQ(played->PieceOn(s), start.PieceOn(s)) << "game " << g;
    EXPECT_EQ(played->CastlingRights(), start.CastlingRights());
    EXPECT_EQ(played->EnPassantSquare(), start.EnPassantSquare());
    EXPECT_EQ(played->FullmoveNumber(), start.FullmoveNumber());
  }
  EXPECT_GT(pliesChecked, 20000);
}

}  // namespace
