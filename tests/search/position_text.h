#pragma once
// Helpers the search tests share: positions from FEN texts, squares by name,
// move lists as texts, and the real-play positions.
#include <fstream>
#include <string>
#include <vector>

#include "search/load_search_position.h"
#include "search/move_text.h"
#include "search/search_position.h"

namespace search_test {

inline search::SearchPosition Load(const std::string& fen) {
  search::SearchPosition position{};
  search::LoadSearchPosition(position, fen);
  return position;
}

// "e4" -> 54
inline int Sq(const char* name) { return 10 * (name[0] - 'a' + 1) + (name[1] - '0'); }

inline std::vector<std::string> MoveTexts(const search::SearchPosition& position) {
  std::vector<std::string> texts;
  for (int i = 0; i < position.moveCount; ++i)
    texts.push_back(search::MoveToText(position.moves[i].from, position.moves[i].to));
  return texts;
}

inline int BoardSum(const search::SearchPosition& position) {
  int sum = 0;
  for (int file = 1; file <= 8; ++file)
    for (int rank = 1; rank <= 8; ++rank) sum += search::Square(position, 10 * file + rank);
  return sum;
}

// Every `step`-th FEN of the distinct positions of the recorded games.
inline std::vector<std::string> RealPositions(int step) {
  std::ifstream in(std::string(BRINDLET_TEST_DATA) + "/games/positions.txt");
  std::vector<std::string> fens;
  int n = 0;
  for (std::string line; std::getline(in, line); ++n) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (n % step == 0 && !line.empty()) fens.push_back(line);
  }
  return fens;
}

}  // namespace search_test
