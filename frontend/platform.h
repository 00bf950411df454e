#pragma once
#include <cstddef>
#include <ctime>
#include <string_view>

// The few operating-system calls the front end needs; platform_posix.cpp implements them.
namespace frontend::platform {

// Broken pipes show as failed writes instead of ending the process.
void IgnoreBrokenPipe();
bool StandardInputIsConsole();
// Bytes read into the buffer; 0 at end of input, negative on a read error.
long ReadStandardInput(char* buffer, std::size_t capacity);
// The bytes that end each line on standard output: the platform's own line end.
std::string_view OutputLineEnd();
// Writes all bytes at once, unbuffered; false when standard output is gone.
bool WriteStandardOutput(std::string_view bytes);
bool LocalTimeOfDay(std::tm& local);

}  // namespace frontend::platform
