#include "Platform.h"

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <cerrno>
#include <cstdlib>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace platform {

std::vector<std::string> commandLineArguments(int argc, char** argv) {
  std::vector<std::string> args;
  args.reserve(argc > 0 ? argc : 1);
  for (int i = 0; i < argc; ++i) args.emplace_back(argv[i]);
  if (args.empty()) args.emplace_back("");  // element 0 is always there
  return args;
}

static bool envSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] != '\0';
}

bool problemDialogAllowed() {
  return envSet("DISPLAY") && !envSet("CUBEWRIGHT_NO_DIALOG") && !envSet("CI");
}

// Runs argv as a child process and waits for it. Returns its exit status,
// or 127 when it could not be started.
static int runAndWait(const std::vector<std::string>& command) {
  std::vector<char*> argv;
  for (const std::string& a : command) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = fork();
  if (pid < 0) return 127;
  if (pid == 0) {
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 127;
}

void showProblemDialog(const std::string& caption, const std::string& text) {
  if (!problemDialogAllowed()) return;
  // zenity is the friendlier dialog; xmessage is part of every X install.
  if (runAndWait({"zenity", "--warning", "--no-markup", "--title", caption, "--text", text}) != 127) return;
  runAndWait({"xmessage", "-center", "-title", caption, "-buttons", "OK", text});
}

int64_t monotonicMicroseconds() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return int64_t(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

WallClockTime wallClock() {
  timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  return {int64_t(now.tv_sec), int(now.tv_nsec / 1000)};
}

void sleepMilliseconds(int milliseconds) {
  if (milliseconds <= 0) return;
  timespec left{milliseconds / 1000, long(milliseconds % 1000) * 1000000L};
  while (nanosleep(&left, &left) != 0 && errno == EINTR) {
  }
}

void* glEntryPoint(const char* name) {
  return reinterpret_cast<void*>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

bool pixelFormatQueryAvailable() { return glEntryPoint("glXChooseFBConfig") != nullptr; }

void releaseGLContext() {
  Display* display = glXGetCurrentDisplay();
  if (display != nullptr) glXMakeCurrent(display, None, nullptr);
}

static Window watchedWindow = 0;
static bool watchedWindowLost = false;
static XErrorHandler previousErrorHandler = nullptr;

// Drawing into a destroyed window raises BadWindow and BadDrawable errors
// naming it; any other error goes to the handler that was there before (by
// default: print it and exit).
static int onXError(Display* display, XErrorEvent* error) {
  bool aboutWatchedWindow = watchedWindow != 0 && error->resourceid == watchedWindow;
  if (aboutWatchedWindow && (error->error_code == BadWindow || error->error_code == BadDrawable)) {
    watchedWindowLost = true;
    return 0;
  }
  return previousErrorHandler != nullptr ? previousErrorHandler(display, error) : 0;
}

void watchForWindowLoss() {
  watchedWindow = glXGetCurrentDrawable();
  if (previousErrorHandler == nullptr) previousErrorHandler = XSetErrorHandler(onXError);
}

bool windowLost() { return watchedWindowLost; }

// freeglut owns the window; its current window is the active one. Its
// full-screen switch makes the window cover the screen (through the window
// manager when there is one) without touching the screen's mode.
bool showActiveWindowFullscreen() {
  if (glutGetWindow() == 0) return false;
  glutFullScreen();
  return true;
}

bool showActiveWindowAt(int x, int y, int width, int height) {
  if (glutGetWindow() == 0) return false;
  glutLeaveFullScreen();
  glutPositionWindow(x, y);
  glutReshapeWindow(width, height);
  return true;
}

bool syncFileToDisk(std::FILE* file) { return fsync(fileno(file)) == 0; }

}  // namespace platform
