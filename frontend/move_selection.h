#pragma once
#include <string>
#include <string_view>

#include "frontend/log.h"
#include "frontend/output.h"

namespace frontend {

inline constexpr const char* kTourBookName = ".\\tourbook.bin";
inline constexpr const char* kMainBookName = ".\\mainbook.bin";
inline constexpr std::string_view kNullMove = "a1a1";

// What move selection reads and changes across calls.
struct MoveSelection {
  DiagnosticLog& log;
  const LineWriter& writeLine;
  // The book may be asked; cleared for the rest of the run by the first miss.
  bool bookOpen = false;
};

bool OpenBook();
// The book's move for the FEN text, lower-cased, or the empty text.
std::string FindBookMove(std::string_view fen);
void CloseBook();

// A source's answer counts as a move when it has four characters, or five whose last is
// a promotion letter.
bool IsMoveAnswer(std::string_view text);

// The answer to "go" for a valid FEN text: the book, then the mate solver, then the
// search; each answer is logged and named on an "info" line. "a1a1" when none yields one.
std::string GETMOVE(const std::string& fen, MoveSelection& selection);

}  // namespace frontend
