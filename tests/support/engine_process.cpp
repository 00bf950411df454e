#include "tests/support/engine_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace test_support {
namespace {

std::string FromEnvironment(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] != '\0' ? value : fallback;
}

// The program that runs the engine and the tool (Wine for a Windows build), or "" for none.
std::string Runner() { return FromEnvironment("BRINDLET_RUNNER", ""); }
std::string EnginePath() { return FromEnvironment("BRINDLET_ENGINE", BRINDLET_BINARY); }

std::string ShellQuoted(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

std::vector<std::string> EngineCommand() {
  std::vector<std::string> command;
  if (UnderRunner()) command.push_back(Runner());
  command.push_back(EnginePath());
  return command;
}

std::string ToolCommand() {
  std::string command;
  if (UnderRunner()) command = ShellQuoted(Runner()) + " ";
  return command + ShellQuoted(FromEnvironment("BRINDLET_TOOL", BRINDLET_TOOL_BINARY));
}

bool UnderRunner() { return !Runner().empty(); }

bool EngineIsWindowsBuild() {
  const std::string engine = EnginePath();
  return engine.size() >= 4 && engine.compare(engine.size() - 4, 4, ".exe") == 0;
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "brindlet-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

EngineProcess::EngineProcess(const std::filesystem::path& workingDir, std::vector<std::string> argv)
    : crLfLines_(EngineIsWindowsBuild() && argv == EngineCommand()) {
  signal(SIGPIPE, SIG_IGN);
  int in[2];
  int out[2];
  if (pipe(in) != 0 || pipe(out) != 0) throw std::runtime_error("pipe failed");
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    close(in[0]);
    close(in[1]);
    close(out[0]);
    close(out[1]);
    if (chdir(workingDir.c_str()) != 0) _exit(126);
    std::vector<char*> args;
    for (std::string& arg : argv) args.push_back(arg.data());
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  toChild_ = in[1];
  fromChild_ = out[0];
}

EngineProcess::~EngineProcess() {
  CloseInput();
  if (!status_) {
    // Give a well-behaved child a moment to finish on end of input, then stop it.
    for (int i = 0; i < 200 && !status_; ++i) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) status_ = status;
      else usleep(10000);
    }
    if (!status_) {
      kill(pid_, SIGKILL);
      int status = 0;
      waitpid(pid_, &status, 0);
      status_ = status;
    }
  }
  CloseOutput();
}

bool EngineProcess::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(toChild_, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

void EngineProcess::CloseInput() {
  if (toChild_ >= 0) close(toChild_);
  toChild_ = -1;
}

void EngineProcess::CloseOutput() {
  if (fromChild_ >= 0) close(fromChild_);
  fromChild_ = -1;
}

bool EngineProcess::FillBuffer(std::chrono::steady_clock::time_point deadline) {
  if (eof_ || fromChild_ < 0) return false;
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  if (left.count() <= 0) return false;
  pollfd fd{fromChild_, POLLIN, 0};
  const int ready = poll(&fd, 1, static_cast<int>(left.count()));
  if (ready <= 0) return ready < 0 && errno == EINTR;
  char chunk[65536];
  const ssize_t got = read(fromChild_, chunk, sizeof chunk);
  if (got <= 0) {
    if (got < 0 && errno == EINTR) return true;
    eof_ = true;
    if (heldCr_) pending_ += '\r';
    heldCr_ = false;
    return false;
  }
  Append(chunk, static_cast<size_t>(got));
  return true;
}

void EngineProcess::Append(const char* bytes, std::size_t count) {
  if (!crLfLines_) {
    pending_.append(bytes, count);
    return;
  }
  for (std::size_t i = 0; i < count; ++i) {
    const char byte = bytes[i];
    if (heldCr_) {
      heldCr_ = false;
      if (byte == '\n') {
        pending_ += '\n';
        continue;
      }
      pending_ += '\r';
    }
    if (byte == '\r') {
      heldCr_ = true;
    } else if (byte == '\n') {
      pending_ += kBareLf;
    } else {
      pending_ += byte;
    }
  }
}

std::optional<std::string> EngineProcess::ReadLine(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    const size_t end = pending_.find('\n');
    if (end != std::string::npos) {
      std::string line = pending_.substr(0, end + 1);
      pending_.erase(0, end + 1);
      return line;
    }
    if (!FillBuffer(deadline)) {
      if (std::chrono::steady_clock::now() < deadline && !eof_) continue;
      return std::nullopt;
    }
  }
}

std::string EngineProcess::ReadAll(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!eof_ && std::chrono::steady_clock::now() < deadline) FillBuffer(deadline);
  std::string all;
  all.swap(pending_);
  return all;
}

int EngineProcess::Wait() {
  if (!status_) {
    int status = 0;
    rusage usage{};
    while (wait4(pid_, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    status_ = status;
    peakRssKilobytes_ = usage.ru_maxrss;
  }
  if (WIFSIGNALED(*status_)) return -WTERMSIG(*status_);
  return WEXITSTATUS(*status_);
}

void EngineProcess::Kill() {
  if (!status_) kill(pid_, SIGKILL);
}

std::string RunEngine(const std::filesystem::path& dir, std::string_view input, int* exitStatus) {
  EngineProcess engine(dir);
  // Write and read at once so that a large input cannot fill both pipes.
  std::string output;
  size_t offset = 0;
  const size_t chunk = 1 << 16;
  while (offset < input.size()) {
    const size_t n = std::min(chunk, input.size() - offset);
    if (!engine.Write(input.substr(offset, n))) break;
    offset += n;
    output += engine.ReadAll(std::chrono::milliseconds(1));
  }
  engine.CloseInput();
  // Until the engine closes its output, as it does when its input has ended: under an emulator
  // on a loaded machine a long input takes minutes, and a hang is the test runner's time-out to
  // catch, not a clock's here.
  output += engine.ReadAll(std::chrono::hours(1));
  const int status = engine.Wait();
  if (exitStatus != nullptr) *exitStatus = status;
  return output;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::vector<std::string> ReadLines(const std::filesystem::path& path) {
  std::vector<std::string> lines;
  std::istringstream in(ReadFile(path));
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::string RunShell(const std::string& command, int* exitStatus) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return output;
  char chunk[4096];
  size_t got;
  while ((got = fread(chunk, 1, sizeof chunk, pipe)) > 0) output.append(chunk, got);
  const int status = pclose(pipe);
  if (exitStatus != nullptr) *exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return output;
}

std::string GamesProgram(std::string_view name) {
  const std::string games = "/usr/games/" + std::string(name);
  if (access(games.c_str(), X_OK) == 0) return games;
  return std::string(name);
}

std::vector<std::string> StockfishLegalMoves(std::string_view positionCommand) {
  EngineProcess stockfish(".", {GamesProgram("stockfish")});
  stockfish.Write(std::string(positionCommand) + "\ngo perft 1\nquit\n");
  stockfish.CloseInput();
  std::vector<std::string> moves;
  std::istringstream in(stockfish.ReadAll());
  for (std::string line; std::getline(in, line);) {
    const size_t colon = line.find(':');
    if (colon >= 4 && colon <= 5 && line.rfind("Nodes", 0) != 0) moves.push_back(line.substr(0, colon));
  }
  return moves;
}

}  // namespace test_support
