#include <signal.h>
#include <sys/select.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "frontend/platform.h"

namespace frontend::platform {
namespace {

constexpr int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP};

volatile std::sig_atomic_t stopRequested = 0;
bool stopSignalsInstalled = false;
// The signal mask while the engine waits for input or pauses: the stop signals let
// through. Everywhere else they are held back, so a signal that comes just before a
// wait ends that wait at once instead of being noticed only when input arrives.
sigset_t waitMask;

void NoteStopSignal(int) { stopRequested = 1; }

const sigset_t* WaitMask() { return stopSignalsInstalled ? &waitMask : nullptr; }

}  // namespace

void IgnoreBrokenPipe() { signal(SIGPIPE, SIG_IGN); }

void InstallStopSignals() {
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  for (const int number : kStopSignals) sigaddset(&stopSignals, number);
  sigprocmask(SIG_BLOCK, &stopSignals, &waitMask);
  for (const int number : kStopSignals) sigdelset(&waitMask, number);
  struct sigaction action {};
  action.sa_handler = NoteStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no SA_RESTART: the wait a stop signal interrupts returns
  for (const int number : kStopSignals) sigaction(number, &action, nullptr);
  stopSignalsInstalled = true;
}

bool StopRequested() { return stopRequested != 0; }

bool StandardInputIsConsole() { return isatty(STDIN_FILENO) == 1; }

long ReadStandardInput(char* buffer, std::size_t capacity) {
  for (;;) {
    if (stopRequested != 0) return -1;
    // The stop signals can arrive only during this wait. An error other than an
    // interruption is left for read to report.
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(STDIN_FILENO, &readable);
    if (pselect(STDIN_FILENO + 1, &readable, nullptr, nullptr, nullptr, WaitMask()) < 0 && errno == EINTR) continue;
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

void Pause(std::chrono::milliseconds duration) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point end = Clock::now() + duration;
  while (stopRequested == 0) {
    const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(end - Clock::now());
    if (left.count() <= 0) return;
    const timespec wait{static_cast<time_t>(left.count() / 1000000000), static_cast<long>(left.count() % 1000000000)};
    // No descriptors: the time-out or a stop signal ends the wait.
    pselect(0, nullptr, nullptr, nullptr, &wait, WaitMask());
  }
}

bool LocalTimeOfDay(std::tm& local) {
  const std::time_t now = std::time(nullptr);
  return now != static_cast<std::time_t>(-1) && localtime_r(&now, &local) != nullptr;
}

book::BookHost* HostedBooks() { return nullptr; }

}  // namespace frontend::platform
