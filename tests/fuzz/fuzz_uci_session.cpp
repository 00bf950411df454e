// Arbitrary bytes on standard input: the same passes the engine's loop runs, without the
// pause, the log or the book.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "frontend/uci_engine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  frontend::EngineSettings settings;
  settings.logFileName = nullptr;
  settings.askBook = false;
  settings.pause = std::chrono::milliseconds(0);
  size_t written = 0;
  frontend::UciEngine engine(settings, [&written](std::string_view text) {
    written += text.size();
    return true;
  });
  frontend::ByteInput input = frontend::ByteInput::FromText(
      std::string_view(reinterpret_cast<const char*>(data), size));
  engine.Run(input);
  return 0;
}
