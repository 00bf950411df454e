#pragma once
#include <chrono>
#include <cstddef>
#include <ctime>
#include <string_view>

#include "book/book_host.h"

// The few operating-system calls the front end needs; platform_posix.cpp,
// platform_windows.cpp and platform_web.cpp implement them, and the build picks the one for its target.
namespace frontend::platform {

// Broken pipes show as failed writes instead of ending the process.
void IgnoreBrokenPipe();
// From here on the signals by which a GUI or a terminal ends a program (SIGTERM, SIGINT,
// SIGHUP on POSIX) only request a stop, which the loop carries out as on "quit".
void InstallStopSignals();
bool StopRequested();
bool StandardInputIsConsole();
// Bytes read into the buffer; 0 at end of input, negative on a read error or once a stop
// has been requested while waiting for input.
long ReadStandardInput(char* buffer, std::size_t capacity);
// The bytes that end each line on standard output: the platform's own line end.
std::string_view OutputLineEnd();
// Writes all bytes at once, unbuffered; false when standard output is gone.
bool WriteStandardOutput(std::string_view bytes);
// Waits this long, or less when a stop is requested meanwhile.
void Pause(std::chrono::milliseconds duration);
bool LocalTimeOfDay(std::tm& local);
// The books the host serves in place of files (the browser's, which arrive in pieces), or
// nullptr where every book is a file.
book::BookHost* HostedBooks();

}  // namespace frontend::platform
