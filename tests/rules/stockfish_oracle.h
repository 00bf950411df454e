#pragma once
// Asks Debian's stockfish for the legal moves of a position: `go perft N` lists every
// legal move with its count, and prints the total.
#include <cstdint>
#include <map>
#include <sstream>
#include <string>

#include "tests/support/engine_process.h"

namespace rules_test {

struct PerftDivide {
  std::map<std::string, std::uint64_t> perMove;
  std::uint64_t total = 0;
};

// Parses "MOVE: COUNT" lines and the "Nodes searched: N" line, as stockfish and
// brindlet-tool both print them.
inline PerftDivide ParseDivide(const std::string& output) {
  PerftDivide divide;
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t colon = line.find(": ");
    if (colon == std::string::npos) continue;
    const std::string name = line.substr(0, colon);
    const std::uint64_t count = std::stoull(line.substr(colon + 2));
    if (name == "Nodes searched") {
      divide.total = count;
    } else if (name.size() >= 4 && name.size() <= 5 && name.find(' ') == std::string::npos) {
      divide.perMove[name] = count;
    }
  }
  return divide;
}

inline PerftDivide StockfishPerft(const std::string& fen, int depth) {
  const std::string command = "printf 'position fen " + fen + "\\ngo perft " + std::to_string(depth) +
                              "\\nquit\\n' | " + test_support::GamesProgram("stockfish");
  return ParseDivide(test_support::RunShell(command));
}

}  // namespace rules_test
