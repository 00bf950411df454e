#pragma once
// The recorded games under tests/data/games, as the tracker tests read them.
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tracker/tracked_position.h"

namespace tracker_test {

inline constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

inline std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::istringstream in(text);
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

// Non-empty lines of a data file, without their line ends.
inline std::vector<std::string> DataLines(const std::string& name) {
  std::vector<std::string> lines;
  std::ifstream in(std::string(BRINDLET_TEST_DATA) + "/games/" + name);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

// One "position startpos moves ..." or "position fen FEN moves ..." line.
struct RecordedGame {
  std::string head;  // the line up to " moves "
  std::string startFen;
  std::vector<std::string> moves;
};

inline RecordedGame ParseGame(const std::string& line) {
  RecordedGame game;
  const std::size_t movesAt = line.find(" moves ");
  game.head = line.substr(0, movesAt);
  if (movesAt != std::string::npos) game.moves = Words(line.substr(movesAt + 7));
  const std::size_t fenAt = game.head.find(" fen ");
  game.startFen = fenAt == std::string::npos ? kStart : game.head.substr(fenAt + 5);
  return game;
}

// Games numbered as in trace.txt: those from the start position first.
inline std::vector<RecordedGame> RecordedGames() {
  std::vector<RecordedGame> games;
  for (const char* file : {"startpos_games.txt", "setup_games.txt"}) {
    for (const std::string& line : DataLines(file)) games.push_back(ParseGame(line));
  }
  return games;
}

// The tracker's FEN after the first `count` moves.
inline std::string TrackerFen(const std::string& startFen, const std::vector<std::string>& moves,
                              std::size_t count) {
  tracker::TrackedPosition position;
  tracker::PositionFromFen(position, startFen);
  for (std::size_t index = 0; index < count; ++index) tracker::PlayMoveText(position, moves[index], 5);
  return tracker::PositionToFen(position);
}

}  // namespace tracker_test
