#pragma once
#include <chrono>
#include <string>
#include <vector>

#include "frontend/byte_input.h"
#include "frontend/log.h"
#include "frontend/move_selection.h"
#include "frontend/output.h"
#include "notation/notation.h"
#include "tracker/tracked_position.h"

namespace frontend {

struct EngineSettings {
  // The log file, or nullptr for none (fuzzing).
  const char* logFileName = kLogFileName;
  bool askBook = true;
  // Read one typed line per command instead of the stream rules.
  bool console = false;
  // The loop pauses this long before each read.
  std::chrono::milliseconds pause{10};
};

// The UCI front end: reads command items, keeps the current FEN and answers the GUI.
class UciEngine {
 public:
  UciEngine(EngineSettings settings, LineWriter writeLine);
  ~UciEngine();
  UciEngine(const UciEngine&) = delete;
  UciEngine& operator=(const UciEngine&) = delete;

  // Start-up, the loop until "quit", a stop signal or end of input, shutdown. Returns the exit status.
  int Run(ByteInput& input);

  // The pieces of Run, for tests and fuzzing.
  void StartUp();
  // One pass without the pause: read, log, dispatch. False when the loop is to end.
  bool RunPass(ByteInput& input);
  void Shutdown();

  // Dispatches one command item as the loop does (the item is logged first).
  void HandleCommand(const std::string& command);
  const std::string& currentFen() const { return currentFen_; }

 private:
  void WriteLine(std::string_view text);
  void PositionFlow(const std::string& command);
  void PositionFromFenFlow(const std::string& command);
  void GoFlow();

  EngineSettings settings_;
  LineWriter writeLine_;
  LineWriter guardedWriter_;
  DiagnosticLog log_;
  MoveSelection selection_;
  std::string currentFen_{notation::kStartFen};
  std::vector<std::string> moveTexts_;
  std::string bestMove_;
  bool quitRequested_ = false;
  bool outputGone_ = false;
  bool shutDown_ = false;
  tracker::TrackedPosition trackedPosition_{};
};

}  // namespace frontend
