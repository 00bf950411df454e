#include "frontend/log.h"

#include <ctime>
#include <string>

#include "frontend/platform.h"

namespace frontend {

void OpenLog(DiagnosticLog& log, const char* fileName) {
  log.logFile = std::fopen(fileName, "wb");
  if (log.logFile != nullptr) std::setvbuf(log.logFile, log.buffer, _IOFBF, sizeof log.buffer);
}

void WriteLog(DiagnosticLog& log, std::string_view text) {
  if (log.logFile == nullptr) return;
  std::fwrite(text.data(), 1, text.size(), log.logFile);
  std::fwrite("\r\n", 1, 2, log.logFile);
}

void CloseLog(DiagnosticLog& log) {
  if (log.logFile == nullptr) return;
  std::fclose(log.logFile);
  log.logFile = nullptr;
}

bool IsLogOpen(const DiagnosticLog& log) { return log.logFile != nullptr; }

std::string LocalTimeText() {
  std::tm local{};
  if (!platform::LocalTimeOfDay(local)) return {};
  char text[16];
  if (std::strftime(text, sizeof text, "%H:%M:%S", &local) != 8) return {};
  return text;
}

}  // namespace frontend
