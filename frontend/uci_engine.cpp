#include "frontend/uci_engine.h"

#include "frontend/command_reader.h"
#include "frontend/commands.h"
#include "frontend/fen_validation.h"
#include "frontend/platform.h"

namespace frontend {

UciEngine::UciEngine(EngineSettings settings, LineWriter writeLine)
    : settings_(settings),
      writeLine_(std::move(writeLine)),
      guardedWriter_([this](std::string_view text) {
        WriteLine(text);
        return !outputGone_;
      }),
      selection_{log_, guardedWriter_} {}

UciEngine::~UciEngine() { Shutdown(); }

void UciEngine::WriteLine(std::string_view text) {
  // Once the GUI stopped reading, nothing more is written and the loop ends as on "quit".
  if (outputGone_) return;
  if (!writeLine_(text)) {
    outputGone_ = true;
    quitRequested_ = true;
  }
}

void UciEngine::StartUp() {
  if (settings_.logFileName != nullptr) {
    OpenLog(log_, settings_.logFileName);
    WriteLog(log_, "brindlet __FB_MAINPROC__ (18) [" + LocalTimeText() + "]");
  }
  selection_.bookOpen = settings_.askBook && OpenBook();
  if (selection_.bookOpen) WriteLog(log_, "brindlet __FB_MAINPROC__ (22) [book loaded]");
  currentFen_ = notation::kStartFen;
  moveTexts_.clear();
  bestMove_.clear();
  quitRequested_ = false;
  trackedPosition_ = tracker::TrackedPosition{};
}

bool UciEngine::RunPass(ByteInput& input) {
  if (quitRequested_ || platform::StopRequested()) return false;
  const ReadResult read = settings_.console ? ReadConsoleCommand(input) : ReadCommand(input);
  // A stop signal that came while the item was being read ends the run before it: the
  // item is incomplete (its sender had not finished it) and is dropped.
  if (platform::StopRequested()) return false;
  // At end of input the engine stops as after "quit"; an item cut short by it still counts.
  if (read.endOfInput && read.item.empty()) return false;
  HandleCommand(read.item);
  return !read.endOfInput && !quitRequested_;
}

void UciEngine::HandleCommand(const std::string& command) {
  WriteLog(log_, "brindlet __FB_MAINPROC__ (32) [" + command + "]");
  if (IsQuit(command)) {
    quitRequested_ = true;
  } else if (IsUci(command)) {
    WriteLine("id name Brindlet");
    WriteLine("id author Tavren Oskalde");
    WriteLine("uciok");
  } else if (IsReady(command)) {
    WriteLine("readyok");
  } else if (IsNewGame(command)) {
    currentFen_ = notation::kStartFen;
  } else if (IsPosition(command)) {
    PositionFlow(command);
  } else if (IsGo(command)) {
    GoFlow();
  }
}

void UciEngine::PositionFlow(const std::string& command) {
  if (HasStartPos(command)) {
    currentFen_ = notation::kStartFen;
    tracker::PositionFromFen(trackedPosition_, currentFen_);
    if (HasMoves(command) && ExtractMoves(command, moveTexts_)) {
      for (const std::string& moveText : moveTexts_) tracker::PlayMoveText(trackedPosition_, moveText, 5);
      currentFen_ = tracker::PositionToFen(trackedPosition_);
    }
  } else if (HasFen(command)) {
    PositionFromFenFlow(command);
  }
}

// "position fen FEN moves ...": the moves after the FEN text are played on it, as GUIs
// expect for games from set-up positions. Move texts are looked for only after the FEN
// text, because a rank such as 1b1b4 holds one.
void UciEngine::PositionFromFenFlow(const std::string& command) {
  std::string fen;
  if (!ExtractFen(command, fen) || !IsValidFEN(fen) || !HasMoves(command)) {
    currentFen_ = fen;
    return;
  }
  // The one match is the leftmost place the pattern matches, so its text occurs there first.
  const std::string_view afterFen = std::string_view(command).substr(command.find(fen) + fen.size());
  std::vector<std::string> moves;
  if (!ExtractMoves(afterFen, moves)) {
    currentFen_ = fen;
    return;
  }
  moveTexts_ = std::move(moves);
  tracker::PositionFromFen(trackedPosition_, fen);
  for (const std::string& moveText : moveTexts_) tracker::PlayMoveText(trackedPosition_, moveText, 5);
  currentFen_ = tracker::PositionToFen(trackedPosition_);
}

void UciEngine::GoFlow() {
  const std::string fen = currentFen_;
  if (IsValidFEN(fen)) {
    bestMove_ = GETMOVE(fen, selection_);
  } else {
    bestMove_ = kNullMove;
    WriteLog(log_, "brindlet __FB_MAINPROC__ (68) [Invalid FEN string: \"" + currentFen_ + "\"]");
  }
  WriteLine("bestmove " + bestMove_);
}

void UciEngine::Shutdown() {
  if (shutDown_) return;
  shutDown_ = true;
  if (selection_.bookOpen) {
    CloseBook();
    selection_.bookOpen = false;
  }
  CloseLog(log_);
}

int UciEngine::Run(ByteInput& input) {
  StartUp();
  // A stop signal ends the run as "quit" does, at the top of a pass or during its pause.
  for (;;) {
    if (quitRequested_ || platform::StopRequested()) break;
    if (settings_.pause.count() > 0) platform::Pause(settings_.pause);
    if (!RunPass(input)) break;
  }
  Shutdown();
  return 0;
}

}  // namespace frontend
