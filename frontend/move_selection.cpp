#include "frontend/move_selection.h"

#include <cstdint>
#include <cstring>

#include "book/entry_points.h"
#include "matesolver/solve_mate.h"
#include "notation/notation.h"
#include "search/best_move.h"

namespace frontend {
namespace {

// The text in a fixed buffer up to its first zero byte, never past the buffer's end.
std::string_view BufferText(const char* buffer, std::size_t size) {
  return std::string_view(buffer, strnlen(buffer, size));
}

void Report(MoveSelection& selection, std::string_view logLine, std::string_view infoLine) {
  WriteLog(selection.log, logLine);
  selection.writeLine(infoLine);
}

}  // namespace

bool OpenBook() { return INITIALIZE(kTourBookName, kMainBookName) == 0; }

std::string FindBookMove(std::string_view fen) {
  char fenBuffer[200] = {};
  std::memcpy(fenBuffer, fen.data(), fen.size() < 199 ? fen.size() : 199);
  char fromText[10] = {};
  char toText[10] = {};
  char spare[4][20] = {};
  int32_t spareNumber = 0;
  if (FIND_OPENING(fenBuffer, fromText, toText, spare[0], spare[1], spare[2], spare[3], &spareNumber) != 0) {
    return {};
  }
  std::string move(BufferText(fromText, sizeof fromText));
  move += BufferText(toText, sizeof toText);
  for (char& c : move) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return move;
}

void CloseBook() { CLOSE_BOOK(); }

bool IsMoveAnswer(std::string_view text) {
  if (text.size() == 4) return true;
  return text.size() == 5 && notation::PromotionCodeOfLetter(text[4]).has_value();
}

std::string GETMOVE(const std::string& fen, MoveSelection& selection) {
  std::string result(kNullMove);

  if (selection.bookOpen) {
    result = FindBookMove(fen);
    if (IsMoveAnswer(result)) {
      Report(selection, "brindlet GETMOVE (91) [BookMove]", "info BookMove");
      return result;
    }
    result = kNullMove;
    CloseBook();
    selection.bookOpen = false;
  }

  const char* solved = SolveMate(fen.c_str(), 3, 1);
  result = solved != nullptr ? solved : "";
  if (IsMoveAnswer(result)) {
    Report(selection, "brindlet GETMOVE (102) [SolveMate]", "info SolveMate");
    return result;
  }

  result = search::BestMove(fen);
  if (IsMoveAnswer(result)) {
    Report(selection, "brindlet GETMOVE (111) [BestMove]", "info BestMove");
    return result;
  }
  return std::string(kNullMove);
}

}  // namespace frontend
