#pragma once
#include <string>

// Small stateless file-name and file helpers.
class FileManager {
 public:
  // True when `path` is a regular file that can be opened for reading.
  static bool fileExists(const std::string& path);
  // Everything up to and including the last '/' or '\', whichever is later;
  // empty when there is neither.
  static std::string getDirectory(const std::string& path);
  // The part after the last '/'; without '/', after the last '\'; else the whole path.
  static std::string getFileName(const std::string& path);
};
