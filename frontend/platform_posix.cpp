#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include "frontend/platform.h"

namespace frontend::platform {

void IgnoreBrokenPipe() { signal(SIGPIPE, SIG_IGN); }

bool StandardInputIsConsole() { return isatty(STDIN_FILENO) == 1; }

long ReadStandardInput(char* buffer, std::size_t capacity) {
  for (;;) {
    const ssize_t got = read(STDIN_FILENO, buffer, capacity);
    if (got >= 0 || errno != EINTR) return static_cast<long>(got);
  }
}

std::string_view OutputLineEnd() { return "\n"; }

bool WriteStandardOutput(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(STDOUT_FILENO, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

bool LocalTimeOfDay(std::tm& local) {
  const std::time_t now = std::time(nullptr);
  return now != static_cast<std::time_t>(-1) && localtime_r(&now, &local) != nullptr;
}

}  // namespace frontend::platform
