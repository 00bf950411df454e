// The front end's operating-system calls on Windows. Standard input and output are used through
// their raw handles, below the C runtime, so no text-mode translation ever touches the bytes:
// the item rules see every CR and LF themselves, and each answer line leaves in one write.
#include <windows.h>

#include <atomic>

#include "frontend/platform.h"

namespace frontend::platform {
namespace {

// Set by the console control handler, which Windows runs on a thread of its own.
std::atomic<bool> stopRequested{false};
// Signalled with the stop request, so that the loop's pause ends at once.
HANDLE stopEvent = nullptr;
// The thread that runs the loop: a stop request cancels the read it may be waiting in.
HANDLE loopThread = nullptr;

// Ctrl+C, Ctrl+Break and closing the console window are the console's ways to end a program;
// each ends the run as "quit" does. Windows ends the process once the handler returns from a
// close, so the handler then gives the loop a few seconds to close the book and the log.
BOOL WINAPI NoteStopEvent(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) return FALSE;
  stopRequested = true;
  if (stopEvent != nullptr) SetEvent(stopEvent);
  if (loopThread != nullptr) {
    CancelSynchronousIo(loopThread);
    if (event == CTRL_CLOSE_EVENT) WaitForSingleObject(loopThread, 4000);
  }
  return TRUE;
}

}  // namespace

// Windows has no SIGPIPE: a write to a pipe whose reader is gone already fails instead.
void IgnoreBrokenPipe() {}

void InstallStopSignals() {
  stopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  const HANDLE process = GetCurrentProcess();
  if (!DuplicateHandle(process, GetCurrentThread(), process, &loopThread, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
    loopThread = nullptr;
  }
  SetConsoleCtrlHandler(NoteStopEvent, TRUE);
}

bool StopRequested() { return stopRequested; }

// GetConsoleMode holds only for a console; a pipe, a file or the NUL device is read as a stream.
bool StandardInputIsConsole() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

long ReadStandardInput(char* buffer, std::size_t capacity) {
  if (stopRequested) return -1;
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  if (input == nullptr || input == INVALID_HANDLE_VALUE) return -1;
  const DWORD want = capacity > 65536 ? 65536 : static_cast<DWORD>(capacity);
  DWORD got = 0;
  const bool read = ReadFile(input, buffer, want, &got, nullptr) != 0;
  // A console read that Ctrl+C broke off may end before the handler has noted the stop.
  if (stopRequested) return -1;
  if (read) return static_cast<long>(got);
  // The writing end of the pipe was closed: that is the end of input, not an error.
  return GetLastError() == ERROR_BROKEN_PIPE ? 0 : -1;
}

std::string_view OutputLineEnd() { return "\r\n"; }

bool WriteStandardOutput(std::string_view bytes) {
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  if (output == nullptr || output == INVALID_HANDLE_VALUE) return false;
  while (!bytes.empty()) {
    const DWORD want = bytes.size() > 65536 ? 65536 : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    // A reader that went away shows as ERROR_BROKEN_PIPE or ERROR_NO_DATA: standard output is gone.
    if (!WriteFile(output, bytes.data(), want, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

void Pause(std::chrono::milliseconds duration) {
  if (duration.count() <= 0 || stopRequested) return;
  const DWORD milliseconds = static_cast<DWORD>(duration.count());
  if (stopEvent != nullptr) {
    WaitForSingleObject(stopEvent, milliseconds);
  } else {
    Sleep(milliseconds);
  }
}

bool LocalTimeOfDay(std::tm& local) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  local = std::tm{};
  local.tm_hour = now.wHour;
  local.tm_min = now.wMinute;
  local.tm_sec = now.wSecond;
  return true;
}

book::BookHost* HostedBooks() { return nullptr; }

}  // namespace frontend::platform
