#include "Platform.h"

#include <cstdlib>
#include <sys/wait.h>
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

bool syncFileToDisk(std::FILE* file) { return fsync(fileno(file)) == 0; }

}  // namespace platform
