#pragma once
#include <cstdio>
#include <string>
#include <string_view>

namespace frontend {

inline constexpr const char* kLogFileName = "brindlet.log";

// The diagnostic log of one run: a plain-text file in the working directory, truncated at
// start, written through a full 8192-byte buffer. While it could not be opened, nothing
// is written and nothing is reported.
struct DiagnosticLog {
  std::FILE* logFile = nullptr;
  char buffer[8192];
};

void OpenLog(DiagnosticLog& log, const char* fileName);
// Writes the text and CR LF when the log is open.
void WriteLog(DiagnosticLog& log, std::string_view text);
void CloseLog(DiagnosticLog& log);
bool IsLogOpen(const DiagnosticLog& log);

// The local time of day as hh:mm:ss, or the empty text when it cannot be had.
std::string LocalTimeText();

}  // namespace frontend
