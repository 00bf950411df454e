// The front end's calls to its host when the engine is built as WebAssembly (emscripten). The
// host is a browser's Web Worker or Node; platform_web.js, linked in before the engine's own
// JavaScript, is the other half of this file: it keeps the command text that arrives (worker
// messages, or Node's standard input) and carries each answer line out (a worker message, or
// Node's standard output). The loop's waits, for input and in its pause, hand control back to
// the host's event loop through Asyncify, so that the command text can arrive meanwhile.
#include <emscripten.h>

#include <ctime>

#include "frontend/platform.h"

namespace frontend::platform {
namespace {

// Each returns to the event loop until its wait is over; a stop request ends the wait at once.
EM_ASYNC_JS(long, HostRead, (char* buffer, std::size_t capacity),
            { return await Module.brindletHost.read(buffer, capacity); });
EM_ASYNC_JS(void, HostPause, (double milliseconds), { await Module.brindletHost.pause(milliseconds); });

EM_JS(void, HostCatchStopSignals, (), { Module.brindletHost.catchStopSignals(); });
EM_JS(void, HostKeepWritesFromEndingRun, (), { Module.brindletHost.keepWritesFromEndingRun(); });
EM_JS(int, HostStopRequested, (), { return Module.brindletHost.stopRequested ? 1 : 0; });
EM_JS(int, HostInputIsConsole, (), { return Module.brindletHost.inputIsConsole() ? 1 : 0; });
EM_JS(int, HostWrite, (const char* bytes, std::size_t count),
      { return Module.brindletHost.write(bytes, count) ? 1 : 0; });

}  // namespace

void IgnoreBrokenPipe() { HostKeepWritesFromEndingRun(); }

void InstallStopSignals() { HostCatchStopSignals(); }

bool StopRequested() { return HostStopRequested() != 0; }

bool StandardInputIsConsole() { return HostInputIsConsole() != 0; }

long ReadStandardInput(char* buffer, std::size_t capacity) { return HostRead(buffer, capacity); }

std::string_view OutputLineEnd() { return "\n"; }

bool WriteStandardOutput(std::string_view bytes) { return HostWrite(bytes.data(), bytes.size()) != 0; }

void Pause(std::chrono::milliseconds duration) {
  if (duration.count() > 0) HostPause(static_cast<double>(duration.count()));
}

bool LocalTimeOfDay(std::tm& local) {
  const std::time_t now = std::time(nullptr);
  return now != static_cast<std::time_t>(-1) && localtime_r(&now, &local) != nullptr;
}

}  // namespace frontend::platform
