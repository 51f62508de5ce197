#include "GameProcess.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "ChildProcess.h"
#include "TempDir.h"
#include "TestWindow.h"

namespace {

std::string tempFile() {
  char name[] = "/tmp/cubewright-game-XXXXXX";
  int fd = mkstemp(name);
  if (fd >= 0) close(fd);
  return name;
}

void sleepSeconds(double s) { std::this_thread::sleep_for(std::chrono::duration<double>(s)); }

// Starts the program with its output going to the two files.
pid_t spawn(const std::vector<std::string>& args, const std::string& workDir, const std::vector<std::string>& env,
            const std::string& outPath, const std::string& errPath) {
  pid_t pid = fork();
  if (pid != 0) return pid;
  int out = open(outPath.c_str(), O_WRONLY | O_TRUNC);
  int err = open(errPath.c_str(), O_WRONLY | O_TRUNC);
  dup2(out, 1);
  dup2(err, 2);
  close(out);
  close(err);
  execProgram(args, workDir, env);
}

}  // namespace

std::string commandOutput(const std::vector<std::string>& args) { return runProgram(args).out; }

GameProcess::GameProcess(const std::string& workDir, const std::vector<std::string>& args,
                         const std::vector<std::string>& extraEnv)
    : outPath_(tempFile()), errPath_(tempFile()) {
  std::vector<std::string> command = {CUBEWRIGHT_PROGRAM};
  command.insert(command.end(), args.begin(), args.end());
  pid_ = spawn(command, workDir, extraEnv, outPath_, errPath_);
}

GameProcess::~GameProcess() {
  if (running()) {
    kill(pid_, SIGKILL);
    waitForExit(5);
  }
  std::remove(outPath_.c_str());
  std::remove(errPath_.c_str());
}

bool GameProcess::running() {
  if (exited_) return false;
  int status = 0;
  if (waitpid(pid_, &status, WNOHANG) == pid_) {
    exited_ = true;
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return false;
  }
  return true;
}

bool GameProcess::waitForOutput(const std::string& text, double seconds) {
  for (double waited = 0; waited < seconds; waited += 0.05) {
    if (out().find(text) != std::string::npos) return true;
    if (!running()) return out().find(text) != std::string::npos;
    sleepSeconds(0.05);
  }
  return false;
}

// The program's window has neither a name nor a class, so it is found as the
// one visible top-level window of the display (each test display runs one game
// at a time).
static std::string topLevelWindow() {
  std::string root = commandOutput({"xdotool", "search", "--maxdepth", "0", "--name", ""});
  root = root.substr(0, root.find('\n'));
  std::string ids = commandOutput({"xdotool", "search", "--maxdepth", "1", "--onlyvisible", "--name", ""});
  for (size_t start = 0; start < ids.size();) {
    size_t end = ids.find('\n', start);
    std::string id = ids.substr(start, end - start);
    if (!id.empty() && id != root) return id;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return "";
}

std::string GameProcess::waitForWindow(double seconds) {
  for (double waited = 0; waited < seconds && window_.empty() && running(); waited += 0.1) {
    window_ = topLevelWindow();
    if (window_.empty()) sleepSeconds(0.1);
  }
  if (!window_.empty() && !focused_) {
    // Xvfb has no window manager: keys go to the focused window.
    xdotool({"windowfocus", "--sync", window_});
    focused_ = true;
  }
  return window_;
}

int GameProcess::waitForExit(double seconds) {
  for (double waited = 0; waited < seconds; waited += 0.05) {
    if (!running()) return status_;
    sleepSeconds(0.05);
  }
  return -1;
}

void GameProcess::xdotool(const std::vector<std::string>& args) {
  std::vector<std::string> command = {"xdotool"};
  command.insert(command.end(), args.begin(), args.end());
  commandOutput(command);
}

void GameProcess::key(const std::string& keyName) {
  waitForWindow();
  xdotool({"key", keyName});
}

void GameProcess::mouseMove(int x, int y) {
  xdotool({"mousemove", "--window", waitForWindow(), std::to_string(x), std::to_string(y)});
}

void GameProcess::mouseDown(int button) { xdotool({"mousedown", std::to_string(button)}); }
void GameProcess::mouseUp(int button) { xdotool({"mouseup", std::to_string(button)}); }

void GameProcess::click(int x, int y, int button) {
  mouseMove(x, y);
  xdotool({"click", std::to_string(button)});
}

void GameProcess::closeWindow() { sendCloseRequest(waitForWindow()); }

bool GameProcess::screenshot(const std::string& path) {
  commandOutput({"import", "-window", "root", path});
  return !readFile(path).empty();
}

std::string GameProcess::out() { return readFile(outPath_); }
std::string GameProcess::err() { return readFile(errPath_); }
