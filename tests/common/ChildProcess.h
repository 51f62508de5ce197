#pragma once
// Runs code or programs in a child process and collects what they printed,
// so tests can check fatal reports and exit statuses.

#include <functional>
#include <string>
#include <vector>

struct ChildResult {
  int exitCode = -1;   // exit status, or -1 when the child did not exit normally
  int signal = 0;      // the signal that ended the child, or 0
  bool timedOut = false;
  std::string out;     // standard output
  std::string err;     // standard error
};

// Runs `body` in a forked child; a normal return counts as exit status 0.
ChildResult runInChild(const std::function<void()>& body, int timeoutSeconds = 60);

// Runs a program with `args` (args[0] is the program) in `workDir` (the
// current directory when empty), with `extraEnv` entries ("NAME=value")
// added to the environment. The child is killed after `timeoutSeconds`.
ChildResult runProgram(const std::vector<std::string>& args, const std::string& workDir = "",
                       const std::vector<std::string>& extraEnv = {}, int timeoutSeconds = 60);

// In a child process: moves to `workDir` (when not empty), adds `extraEnv`
// and replaces itself with the program `args` (found on PATH when the name
// has no slash). Never returns.
[[noreturn]] void execProgram(const std::vector<std::string>& args, const std::string& workDir,
                              const std::vector<std::string>& extraEnv);

// Prints a child's result for a failed expectation.
std::string describe(const ChildResult& result);
