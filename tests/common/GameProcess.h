#pragma once
// Runs the real program in a game folder on the current X display and drives
// it with real X input (xdotool), for end-to-end tests.

#include <string>
#include <sys/types.h>
#include <vector>

class GameProcess {
 public:
  // Starts CUBEWRIGHT_PROGRAM with `args` in `workDir`; `extraEnv` entries
  // ("NAME=value") are added to the environment.
  GameProcess(const std::string& workDir, const std::vector<std::string>& args = {},
              const std::vector<std::string>& extraEnv = {});
  ~GameProcess();  // kills the program if it still runs
  GameProcess(const GameProcess&) = delete;
  GameProcess& operator=(const GameProcess&) = delete;

  // Waits until standard output contains `text`; false after `seconds`.
  bool waitForOutput(const std::string& text, double seconds = 20);
  // Waits until the program has a mapped window; its X id, or empty.
  std::string waitForWindow(double seconds = 20);
  // Waits for the program to end; its exit status, or -1 (killed, timed out).
  int waitForExit(double seconds = 20);
  bool running();

  // Real X input through xdotool, sent to the program's window.
  void key(const std::string& keyName);          // e.g. "Escape", "q", "F1"
  void click(int x, int y, int button = 1);      // pointer moved there, then pressed and released
  void mouseMove(int x, int y);
  void mouseDown(int button = 1);
  void mouseUp(int button = 1);
  // Asks for the window to close, as a desktop's close button does.
  void closeWindow();
  // Saves the whole screen to `path` (ImageMagick's import).
  bool screenshot(const std::string& path);

  std::string out();  // standard output so far
  std::string err();  // standard error so far
  pid_t pid() const { return pid_; }

 private:
  void xdotool(const std::vector<std::string>& args);
  pid_t pid_ = -1;
  int status_ = -1;
  bool exited_ = false;
  std::string window_;
  bool focused_ = false;
  std::string outPath_, errPath_;
};

// Runs a command to completion and returns its standard output.
std::string commandOutput(const std::vector<std::string>& args);
