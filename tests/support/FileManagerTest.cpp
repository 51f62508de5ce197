#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "support/FileManager.h"
#include "tests/common/TempDir.h"

TEST(FileManager, SeparatorRules) {
  struct Case {
    const char* path;
    const char* directory;
    const char* fileName;
  };
  const Case cases[] = {
      {"saves\\a/b\\c", "saves\\a/b\\", "b\\c"},  // '/' wins for the name, the later one for the directory
      {"model.obj", "", "model.obj"},
      {"obj/tree/tree.obj", "obj/tree/", "tree.obj"},
      {"C:\\games\\world.dat", "C:\\games\\", "world.dat"},
      {"dir/", "dir/", ""},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.directory, FileManager::getDirectory(c.path)) << c.path;
    EXPECT_EQ(c.fileName, FileManager::getFileName(c.path)) << c.path;
  }
}

TEST(FileManager, FileExistsOnlyForReadableFiles) {
  TempDir dir;
  std::string file = dir.write("world.dat", "x");
  EXPECT_TRUE(FileManager::fileExists(file));
  EXPECT_TRUE(FileManager::fileExists(dir.write("empty", "")));
  EXPECT_FALSE(FileManager::fileExists(dir.file("missing.dat")));
  EXPECT_FALSE(FileManager::fileExists(dir.path()));  // a directory is not a file
  if (geteuid() != 0) {  // root reads everything
    chmod(file.c_str(), 0);
    EXPECT_FALSE(FileManager::fileExists(file));
  }
}
