#include <gtest/gtest.h>

#include <sys/stat.h>

#include "support/FileManager.h"
#include "support/SafeFileWriter.h"
#include "tests/common/TempDir.h"

namespace {

TEST(SafeFileWriter, ReplacesTheFileAndLeavesNothingBeside) {
  TempDir dir;
  std::string path = dir.write("save.dat", "old content");
  std::string error;
  ASSERT_TRUE(SafeFileWriter::replaceFile(path, "new", 3, error)) << error;
  EXPECT_EQ("new", readFile(path));
  EXPECT_FALSE(FileManager::fileExists(SafeFileWriter::partialFileName(path)));
  ASSERT_TRUE(SafeFileWriter::replaceFile(dir.file("fresh.dat"), "", 0, error)) << error;
  EXPECT_TRUE(FileManager::fileExists(dir.file("fresh.dat")));
}

TEST(SafeFileWriter, AFailureKeepsTheOldFileAndSaysWhy) {
  TempDir dir;
  std::string error;
  EXPECT_FALSE(SafeFileWriter::replaceFile(dir.file("no/such/dir/save.dat"), "x", 1, error));
  EXPECT_EQ("cannot create '" + dir.file("no/such/dir/save.dat.partial") + "': No such file or directory", error);

  // Renaming a file over a directory fails after the new content was written.
  std::string target = dir.file("folder");
  ASSERT_EQ(0, mkdir(target.c_str(), 0700));
  dir.write("folder/inside.txt", "kept");
  EXPECT_FALSE(SafeFileWriter::replaceFile(target, "x", 1, error));
  EXPECT_EQ(0u, error.find("cannot replace '" + target + "': ")) << error;
  EXPECT_EQ("kept", readFile(dir.file("folder/inside.txt")));
  EXPECT_FALSE(FileManager::fileExists(SafeFileWriter::partialFileName(target)));
}

}  // namespace
