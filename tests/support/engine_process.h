#pragma once
#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace test_support {

// A fresh directory under the system temp dir, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::string File(std::string_view name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// The binaries under test. By default they are this build's, started directly. BRINDLET_ENGINE
// and BRINDLET_TOOL may name other builds of them (the Windows .exe files), and BRINDLET_RUNNER a
// program that starts them (scripts/wine.sh), so the same tests drive either build.
std::vector<std::string> EngineCommand();
// The tool as the start of a shell command line, each word quoted.
std::string ToolCommand();
// True when a runner starts the binaries: what a test reads of the child process itself
// (its signals, its peak memory, valgrind's view of it) then belongs to the runner.
bool UnderRunner();
// True when the engine under test is a Windows build, whose output lines end in CR LF.
bool EngineIsWindowsBuild();

// Marks a line of a Windows build that ends in LF alone (see EngineProcess).
inline constexpr std::string_view kBareLf = "<LF without CR>\n";

// A child process with its standard input and output on pipes, started in a
// working directory of the caller's choice. The engine's own output reaches the caller with
// the line ends of this system, LF: a Windows build's CR LF arrives as LF, and a line it ends
// in LF alone arrives ending in kBareLf, so one set of expectations holds for both builds and
// still catches a wrong line end.
class EngineProcess {
 public:
  explicit EngineProcess(const std::filesystem::path& workingDir,
                         std::vector<std::string> argv = EngineCommand());
  ~EngineProcess();
  EngineProcess(const EngineProcess&) = delete;
  EngineProcess& operator=(const EngineProcess&) = delete;

  // False when the child no longer reads (its input pipe is closed).
  bool Write(std::string_view bytes);
  void CloseInput();
  void CloseOutput();
  // The next line with its line end bytes, or nothing at time-out or end of output.
  std::optional<std::string> ReadLine(std::chrono::milliseconds timeout = std::chrono::seconds(30));
  // Everything until end of output (or time-out).
  std::string ReadAll(std::chrono::milliseconds timeout = std::chrono::seconds(60));
  // Waits for the child and returns its exit status, or -signal when a signal ended it.
  int Wait();
  // The child's peak resident set size in kilobytes, known once Wait returned.
  long PeakRssKilobytes() const { return peakRssKilobytes_; }
  void Kill();
  pid_t pid() const { return pid_; }

 private:
  bool FillBuffer(std::chrono::steady_clock::time_point deadline);
  void Append(const char* bytes, std::size_t count);

  pid_t pid_ = -1;
  int toChild_ = -1;
  int fromChild_ = -1;
  std::string pending_;
  bool crLfLines_ = false;
  bool heldCr_ = false;  // a CR at the end of the last read, waiting for the next byte
  bool eof_ = false;
  std::optional<int> status_;
  long peakRssKilobytes_ = 0;
};

// Runs the engine in `dir` on the whole input, closes its input and returns all it wrote.
std::string RunEngine(const std::filesystem::path& dir, std::string_view input, int* exitStatus = nullptr);

std::string ReadFile(const std::filesystem::path& path);
std::vector<std::string> ReadLines(const std::filesystem::path& path);  // CR LF or LF removed
// Runs a shell command and returns its standard output.
std::string RunShell(const std::string& command, int* exitStatus = nullptr);
// Where Debian installs its games (stockfish, polyglot): /usr/games, not on PATH.
std::string GamesProgram(std::string_view name);
// The legal moves, as Debian's stockfish lists them ("go perft 1"), in the position that a
// UCI "position ..." command sets up.
std::vector<std::string> StockfishLegalMoves(std::string_view positionCommand);

}  // namespace test_support
