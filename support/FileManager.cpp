#include "FileManager.h"

#include <filesystem>
#include <fstream>

bool FileManager::fileExists(const std::string& path) {
  // An ifstream opens a directory without complaint, so ask for a regular file first.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  std::ifstream stream(path, std::ios::in | std::ios::binary);
  return stream.is_open();
}

std::string FileManager::getDirectory(const std::string& path) {
  std::string::size_type last = path.find_last_of("/\\");
  return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

std::string FileManager::getFileName(const std::string& path) {
  std::string::size_type last = path.rfind('/');
  if (last == std::string::npos) last = path.rfind('\\');
  return last == std::string::npos ? path : path.substr(last + 1);
}
