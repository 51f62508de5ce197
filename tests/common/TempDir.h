#pragma once
#include <string>

// A fresh directory under /tmp, removed with everything in it at the end of
// the test.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // Full path of a file inside the directory.
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  // Writes `content` to `name` (creating subdirectories) and returns its full path.
  std::string write(const std::string& name, const std::string& content) const;

 private:
  std::string path_;
};

// The whole content of a file, or an empty string when it cannot be read.
std::string readFile(const std::string& path);

// Makes `path` the working directory for its lifetime, as a game folder is
// while the engine runs; the previous one comes back at the end.
class WorkingDirectory {
 public:
  explicit WorkingDirectory(const std::string& path);
  ~WorkingDirectory();
  WorkingDirectory(const WorkingDirectory&) = delete;
  WorkingDirectory& operator=(const WorkingDirectory&) = delete;

 private:
  std::string previous_;
};
