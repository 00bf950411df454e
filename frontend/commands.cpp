#include "frontend/commands.h"

#include "frontend/pcre_pattern.h"

namespace frontend {
namespace {

bool Equals(std::string_view command, std::string_view word) { return command == word; }
bool BeginsWith(std::string_view command, std::string_view word) {
  return !command.empty() && command.find(word) == 0;
}
bool Contains(std::string_view command, std::string_view word) {
  return !command.empty() && command.find(word) != std::string_view::npos;
}

}  // namespace

std::string FenPatternFromRunStarts() { return "(?:\\G|(?<![1-8BKNPQRbknpqr]))" + std::string(kFenPattern); }

bool IsQuit(std::string_view command) { return Equals(command, "quit"); }
bool IsUci(std::string_view command) { return Equals(command, "uci"); }
bool IsReady(std::string_view command) { return Equals(command, "isready"); }
bool IsNewGame(std::string_view command) { return Equals(command, "ucinewgame"); }
bool IsPosition(std::string_view command) { return BeginsWith(command, "position"); }
bool HasStartPos(std::string_view command) { return Contains(command, "startpos"); }
bool HasFen(std::string_view command) { return Contains(command, "fen"); }
bool HasMoves(std::string_view command) { return Contains(command, "moves"); }
bool IsGo(std::string_view command) { return BeginsWith(command, "go"); }

int32_t FindAllMatches(std::string_view pattern, std::string_view subject,
                       std::vector<std::string>& results, bool append) {
  if (!append) results.clear();
  int32_t count = 0;
  const PcrePattern compiled(pattern);
  if (!compiled.ok()) return 0;
  int32_t matchVector[300] = {};
  int startOffset = 0;
  for (;;) {
    const int result = compiled.Exec(subject, startOffset, matchVector, 300);
    // A result of 0 (vector too small) or an empty match would find the same place again.
    if (result <= 0) break;
    const int start = matchVector[0];
    const int end = matchVector[1];
    results.emplace_back(subject.substr(static_cast<size_t>(start), static_cast<size_t>(end - start)));
    ++count;
    if (end == start) break;
    startOffset = end;
  }
  return count;
}

bool ExtractFen(std::string_view command, std::string& fen) {
  std::vector<std::string> found;
  if (FindAllMatches(FenPatternFromRunStarts(), command, found, false) == 1) {
    fen = found[0];
    return true;
  }
  fen.clear();
  return false;
}

bool ExtractMoves(std::string_view command, std::vector<std::string>& moveTexts) {
  return FindAllMatches(kMovePattern, command, moveTexts, false) > 0;
}

}  // namespace frontend
