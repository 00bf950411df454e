// The front end's calls to its host when the engine is built as WebAssembly (emscripten). The
// host is a browser's Web Worker or Node; platform_web.js, linked in before the engine's own
// JavaScript, is the other half of this file: it keeps the command text that arrives (worker
// messages, or Node's standard input) and carries each answer line out (a worker message, or
// Node's standard output). The loop's waits, for input and in its pause, hand control back to
// the host's event loop through Asyncify, so that the command text can arrive meanwhile.
#include <emscripten.h>

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

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

// The site's default books (book_pieces.js in platform_web.js): a handle for the book named
// by the path, or -1; its entry count, stride and the first key of every piece; and a read,
// which waits for the pieces that hold the entries.
EM_JS(int, HostBookHandle, (const char* path), {
  var pieces = Module.brindletHost.bookPieces;
  if (!pieces) return -1;
  var name = "";
  for (var at = path; HEAPU8[at] !== 0 && name.length < 4096; ++at) name += String.fromCharCode(HEAPU8[at]);
  return pieces.handleOf(name);
});
EM_JS(double, HostBookEntries, (int handle), { return Module.brindletHost.bookPieces.entries(handle); });
EM_JS(double, HostBookStride, (int handle), { return Module.brindletHost.bookPieces.stride(handle); });
EM_JS(void, HostBookIndexKeys, (int handle, unsigned char* bytes),
      { HEAPU8.set(Module.brindletHost.bookPieces.indexKeys(handle), bytes); });
EM_ASYNC_JS(int, HostBookRead, (int handle, double first, double count, unsigned char* bytes), {
  var read = await Module.brindletHost.bookPieces.read(handle, first, count);
  HEAPU8.set(read, bytes);  // HEAPU8 after the wait: the memory may have grown meanwhile
  return 1;
});

class SiteBooks : public book::BookHost {
 public:
  std::optional<book::HostedBookShape> Describe(const std::string& path) override {
    const int handle = HostBookHandle(path.c_str());
    if (handle < 0) return std::nullopt;
    book::HostedBookShape shape;
    shape.handle = handle;
    shape.entries = static_cast<std::size_t>(HostBookEntries(handle));
    shape.stride = static_cast<std::size_t>(HostBookStride(handle));
    // One key a piece (book_pieces.js has checked that entries and stride are positive whole numbers).
    std::vector<unsigned char> keys(8 * ((shape.entries + shape.stride - 1) / shape.stride));
    HostBookIndexKeys(handle, keys.data());
    for (std::size_t at = 0; at < keys.size(); at += 8) {
      std::uint64_t key = 0;
      for (std::size_t i = 0; i < 8; ++i) key = (key << 8) | keys[at + i];
      shape.indexKeys.push_back(key);
    }
    return shape;
  }
  bool Read(int handle, std::size_t first, std::size_t count, unsigned char* bytes) override {
    return HostBookRead(handle, static_cast<double>(first), static_cast<double>(count), bytes) != 0;
  }
};

}  // namespace

book::BookHost* HostedBooks() {
  static SiteBooks books;
  return &books;
}

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
