#pragma once
// Replaces a file without ever leaving it half-written: the new content goes
// into a file beside it, every write and the close are checked, and only
// then is the new file renamed over the old one. On any failure the old file
// stays as it was and the partial file is removed.

#include <cstddef>
#include <string>

class SafeFileWriter {
 public:
  // Writes `size` bytes of `data` as the new content of `path`. Returns false
  // and describes what went wrong in `error` when the file was not replaced.
  static bool replaceFile(const std::string& path, const void* data, size_t size, std::string& error);

  // The name of the file written beside `path` before it replaces it.
  static std::string partialFileName(const std::string& path) { return path + ".partial"; }
};
