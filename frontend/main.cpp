#include <string>

#include "book/book.h"
#include "frontend/platform.h"
#include "frontend/uci_engine.h"

// The engine takes no arguments: it talks UCI on standard input and output.
int main() {
  frontend::platform::InstallStopSignals();
  frontend::platform::IgnoreBrokenPipe();
  book::SetBookHost(frontend::platform::HostedBooks());
  frontend::ByteInput input(frontend::platform::ReadStandardInput);
  frontend::EngineSettings settings;
  settings.console = frontend::platform::StandardInputIsConsole();
  frontend::UciEngine engine(settings, [](std::string_view text) {
    std::string line(text);
    line += frontend::platform::OutputLineEnd();
    return frontend::platform::WriteStandardOutput(line);
  });
  return engine.Run(input);
}
