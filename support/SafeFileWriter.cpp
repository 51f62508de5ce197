#include "SafeFileWriter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/Platform.h"

namespace {

std::string systemError(const std::string& what, const std::string& file) {
  return what + " '" + file + "': " + std::strerror(errno);
}

// Writes the whole content into `partial` and closes it; false with `error`
// set on the first failure.
bool writeAndClose(const std::string& partial, const void* data, size_t size, std::string& error) {
  std::FILE* file = std::fopen(partial.c_str(), "wb");
  if (file == nullptr) {
    error = systemError("cannot create", partial);
    return false;
  }
  bool ok = std::fwrite(data, 1, size, file) == size;
  if (!ok) error = systemError("cannot write", partial);
  if (ok && std::fflush(file) != 0) {
    ok = false;
    error = systemError("cannot write", partial);
  }
  // The data must be on disk before the rename makes it the file.
  if (ok && !platform::syncFileToDisk(file)) {
    ok = false;
    error = systemError("cannot flush to disk", partial);
  }
  if (std::fclose(file) != 0 && ok) {
    ok = false;
    error = systemError("cannot close", partial);
  }
  return ok;
}

}  // namespace

bool SafeFileWriter::replaceFile(const std::string& path, const void* data, size_t size, std::string& error) {
  std::string partial = partialFileName(path);
  if (!writeAndClose(partial, data, size, error)) {
    std::remove(partial.c_str());
    return false;
  }
  if (std::rename(partial.c_str(), path.c_str()) != 0) {
    error = systemError("cannot replace", path);
    std::remove(partial.c_str());
    return false;
  }
  return true;
}
