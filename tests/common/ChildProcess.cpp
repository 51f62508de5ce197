#include "ChildProcess.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <signal.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

std::string tempPath() {
  char name[] = "/tmp/cubewright-child-XXXXXX";
  int fd = mkstemp(name);
  if (fd >= 0) close(fd);
  return name;
}

// Forks; the child redirects its output into two files and runs `inChild`,
// which must not return. The parent waits at most `timeoutSeconds`.
ChildResult forkAndWait(const std::function<void()>& inChild, int timeoutSeconds) {
  std::string outPath = tempPath(), errPath = tempPath();
  std::cout.flush();
  std::cerr.flush();
  fflush(nullptr);
  pid_t pid = fork();
  if (pid == 0) {
    int outFd = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int errFd = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(outFd, 1);
    dup2(errFd, 2);
    close(outFd);
    close(errFd);
    setpgid(0, 0);  // so a timeout can end the child and anything it started
    inChild();
    _exit(125);
  }
  ChildResult result;
  int status = 0;
  for (int waited = 0;; waited += 10) {
    pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) break;
    if (waited >= timeoutSeconds * 1000) {
      kill(-pid, SIGKILL);
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      result.timedOut = true;
      break;
    }
    usleep(10000);
  }
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  result.out = readAll(outPath);
  result.err = readAll(errPath);
  std::remove(outPath.c_str());
  std::remove(errPath.c_str());
  return result;
}

}  // namespace

ChildResult runInChild(const std::function<void()>& body, int timeoutSeconds) {
  return forkAndWait(
      [&body]() {
        body();
        std::cout.flush();
        fflush(nullptr);
        _exit(0);
      },
      timeoutSeconds);
}

void execProgram(const std::vector<std::string>& args, const std::string& workDir,
                 const std::vector<std::string>& extraEnv) {
  if (!workDir.empty() && chdir(workDir.c_str()) != 0) _exit(126);
  for (const std::string& entry : extraEnv) putenv(const_cast<char*>(entry.c_str()));
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  execvp(argv[0], argv.data());
  _exit(127);
}

ChildResult runProgram(const std::vector<std::string>& args, const std::string& workDir,
                       const std::vector<std::string>& extraEnv, int timeoutSeconds) {
  return forkAndWait([&]() { execProgram(args, workDir, extraEnv); }, timeoutSeconds);
}

std::string describe(const ChildResult& result) {
  std::ostringstream text;
  text << "exit code " << result.exitCode << ", signal " << result.signal
       << (result.timedOut ? ", timed out" : "") << "\n--- stdout ---\n"
       << result.out << "\n--- stderr ---\n"
       << result.err;
  return text.str();
}
