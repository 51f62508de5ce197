#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "WorldTestHelpers.h"
#include "src/world/IndexedWorld.h"
#include "support/FileManager.h"
#include "support/SafeFileWriter.h"
#include "support/XMLSimple.h"
#include "tests/common/ChildProcess.h"
#include "tests/common/TempDir.h"

namespace {

XMLSimple config(double sizeOneCube = 1.0, int sizeOneRegion = 16) {
  XMLSimple values;
  values.doubles["size_one_cube"] = sizeOneCube;
  values.ints["size_one_region"] = sizeOneRegion;
  return values;
}

// The 165 bytes of a world without cube types and with a fresh table.
std::string emptyWorld() {
  std::string bytes = "WORLD" + int32Bytes(1) + int32Bytes(0);
  for (int v : {-1, -1, -1, 2, 2, 2}) bytes += int32Bytes(v);
  for (int record = 0; record < 16; ++record) bytes += int32Bytes(0) + int32Bytes(0);
  return bytes;
}

std::string smallWorld() {
  CubeTypeManager types;
  WorldIndexator table(16.f, 1.f);
  buildSmallWorld(types, table);
  return worldBytes(types, table);
}

// Runs `body` with an IndexedWorld loaded from `path`; the world is
// destroyed afterwards, leaving the process-wide pointers unset.
template <typename Body>
void withWorld(const std::string& path, Body body, XMLSimple settings = config()) {
  testing::internal::CaptureStdout();
  {
    IndexedWorld world(settings, nullptr, path, nullptr);
    body(world);
  }
  testing::internal::GetCapturedStdout();
}

TEST(WorldFile, AnEmptyWorldIs165Bytes) {
  CubeTypeManager types;
  WorldIndexator table(16.f, 1.f);
  std::string bytes = worldBytes(types, table);
  EXPECT_EQ(165u, bytes.size());
  EXPECT_EQ(emptyWorld(), bytes);
}

TEST(WorldFile, LoadingAndSavingGivesIdenticalBytes) {
  TempDir dir;
  for (const std::string& original : {emptyWorld(), smallWorld()}) {
    std::string path = dir.write("world.dat", original);
    std::string out;
    withWorld(path, [&](IndexedWorld& world) {
      testing::internal::GetCapturedStdout();
      testing::internal::CaptureStdout();
      EXPECT_TRUE(world.saveWorld(dir.file("again.dat")));
      out = testing::internal::GetCapturedStdout();
      testing::internal::CaptureStdout();
    });
    EXPECT_EQ("==== Saving world to file '" + dir.file("again.dat") + "'\n==== World saved to file\n", out);
    EXPECT_EQ(original, readFile(dir.file("again.dat")));
  }
}

TEST(WorldFile, LoadingReplacesTheWorldAndPrintsItsLines) {
  TempDir dir;
  std::string path = dir.write("world.dat", smallWorld());
  testing::internal::CaptureStdout();
  {
    XMLSimple settings = config();
    IndexedWorld world(settings, nullptr, path, nullptr);
    EXPECT_EQ(2, cubeTypeManager->count());
    EXPECT_EQ("glass.png", (*cubeTypeManager)[1].textureName[0]);
    EXPECT_EQ(Int3(-2, -1, -1), worldIndexator->tableRegionOrigin);
    EXPECT_EQ(Int3(3, 2, 2), worldIndexator->tableRegionSize);
    const WorldRegion& home = worldIndexator->getRegion(Int3(2, 1, 1));
    ASSERT_EQ(1u, home.cubeZones.size());
    EXPECT_EQ(5, home.cubeZones[0].reserved);
    EXPECT_TRUE(home.cubeZones[0].faceFullyShadowed[SHADOW_FACE_RIGHT]);
    EXPECT_EQ(3u, home.cubeZones[0].shadowTriangles(SHADOW_FACE_TOP).size());
    ASSERT_EQ(1u, home.objects.size());
    EXPECT_EQ(2, home.objects[0].type);
    EXPECT_EQ(0.f, home.objects[0].localVariable1);
    EXPECT_EQ(1u, worldIndexator->getRegion(Int3(0, 1, 1)).cubeZones.size());

    // Loading again replaces everything.
    dir.write("empty.dat", emptyWorld());
    world.loadWorld(dir.file("empty.dat"));
    EXPECT_EQ(0, cubeTypeManager->count());
    EXPECT_EQ(Int3(2, 2, 2), worldIndexator->tableRegionSize);
  }
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ("==== Loading world from file '" + path + "'\n==== Loading world done\n==== Loading world from file '" +
                dir.file("empty.dat") + "'\n==== Loading world done\n",
            out);
  EXPECT_EQ(nullptr, cubeTypeManager);
  EXPECT_EQ(nullptr, worldIndexator);
  EXPECT_EQ(nullptr, cotm);
}

TEST(WorldFile, ExtensionDataIsSkippedWhenReadAndDroppedWhenSaved) {
  // The first cell's zones record and the last cell's objects record carry extension data.
  std::string bytes = emptyWorld();
  std::string withExtension =
      bytes.substr(0, 41) + int32Bytes(8) + "12345678" + bytes.substr(45, 161 - 45) + int32Bytes(3) + "abc";
  TempDir dir;
  std::string path = dir.write("world.dat", withExtension);
  withWorld(path, [&](IndexedWorld& world) {
    for (const WorldRegion& region : worldIndexator->tableRegions) EXPECT_TRUE(region.isEmpty());
    EXPECT_TRUE(world.saveWorld(path));
  });
  EXPECT_EQ(bytes, readFile(path));
}

TEST(WorldFile, TheEnginesLoadEndsWithTheReportNamingFileByteAndProblem) {
  TempDir dir;
  struct Case {
    std::string content;
    std::string condition;  // empty: no condition line
    std::string message;
  } cases[] = {
      {"WORLD" + int32Bytes(2), "versionFile == 1", "world.dat: byte 5: version 2 is not 1"},
      {"WORLF" + int32Bytes(1), "std::string(buf) == std::string(\"WORLD\")",
       "world.dat: byte 0: the file does not start with \"WORLD\""},
      {"WORLD", "versionFile == 1", "world.dat: byte 5: file ends early: version needs 4 bytes, 0 left"},
      {emptyWorld().substr(0, 160), "", "world.dat: byte 25: region table of 8 regions exceeds the 123 bytes left"},
  };
  for (const Case& c : cases) {
    dir.write("world.dat", c.content);
    ChildResult result = runInChild([&] {
      if (chdir(dir.path().c_str()) != 0) std::exit(5);  // the report names the file as the engine was given it
      XMLSimple settings = config();
      IndexedWorld world(settings, nullptr, "world.dat", nullptr);
    });
    SCOPED_TRACE(c.message);
    EXPECT_EQ(1, result.exitCode) << describe(result);
    EXPECT_EQ(0u, result.err.find("ERROR : ")) << result.err;
    EXPECT_NE(std::string::npos, result.err.find("\nMessage: " + c.message + "\n")) << result.err;
    if (!c.condition.empty()) {
      EXPECT_NE(std::string::npos, result.err.find("\nCondition: " + c.condition + "\n")) << result.err;
    }
  }
}

TEST(WorldFile, AMissingFileAndASecondWorldEndWithTheReport) {
  ChildResult missing = runInChild([] {
    XMLSimple settings = config();
    IndexedWorld world(settings, nullptr, "/nonexistent/world.dat", nullptr);
  });
  EXPECT_EQ(1, missing.exitCode);
  EXPECT_NE(std::string::npos, missing.err.find("Condition: fd != NULL")) << missing.err;
  EXPECT_NE(std::string::npos, missing.err.find("'/nonexistent/world.dat'"));
  ChildResult directory = runInChild([] {
    XMLSimple settings = config();
    IndexedWorld world(settings, nullptr, "/tmp", nullptr);
  });
  EXPECT_EQ(1, directory.exitCode);
  EXPECT_NE(std::string::npos, directory.err.find("Condition: fd != NULL")) << directory.err;

  TempDir dir;
  std::string path = dir.write("world.dat", emptyWorld());
  ChildResult twice = runInChild([&] {
    XMLSimple settings = config();
    IndexedWorld first(settings, nullptr, path, nullptr);
    IndexedWorld second(settings, nullptr, path, nullptr);
  });
  EXPECT_EQ(1, twice.exitCode);
  EXPECT_NE(std::string::npos,
            twice.err.find("Condition: cotm == NULL && cubeTypeManager == NULL && worldIndexator == NULL"));
}

TEST(WorldFile, AFailedSaveKeepsTheOldFileAndTheWorld) {
  TempDir dir;
  std::string path = dir.write("world.dat", emptyWorld());
  mkdir(dir.file("directory").c_str(), 0700);
  withWorld(path, [&](IndexedWorld& world) {
    for (const std::string& target : {dir.file("missing/world.dat"), dir.file("directory")}) {
      testing::internal::GetCapturedStdout();
      testing::internal::CaptureStdout();
      EXPECT_FALSE(world.saveWorld(target)) << target;
      std::string out = testing::internal::GetCapturedStdout();
      testing::internal::CaptureStdout();
      EXPECT_NE(std::string::npos, out.find("!!! ERROR !!! the world was not saved (")) << out;
      EXPECT_NE(std::string::npos, out.find("'" + target + "' is unchanged\n")) << out;
      EXPECT_FALSE(FileManager::fileExists(SafeFileWriter::partialFileName(target)));
    }
  });
  struct stat info;
  EXPECT_EQ(0, stat(dir.file("directory").c_str(), &info));
  EXPECT_TRUE(S_ISDIR(info.st_mode));

  // A write that fails half way (the file size limit stands in for a full disk).
  std::string before = smallWorld();
  dir.write("world.dat", before);
  ChildResult full = runInChild([&] {
    XMLSimple settings = config();
    IndexedWorld world(settings, nullptr, path, nullptr);
    for (int x = 0; x < 16; ++x) world.addCubeZone(Float3(x + 0.5f, 0.5f, 0.5f), Float3(1.f, 1.f, 1.f), 0);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = {1000, 1000};
    setrlimit(RLIMIT_FSIZE, &limit);
    std::exit(world.saveWorld(path) ? 3 : 0);
  });
  EXPECT_EQ(0, full.exitCode) << describe(full);
  EXPECT_NE(std::string::npos, full.out.find("!!! ERROR !!! the world was not saved (cannot write")) << full.out;
  EXPECT_EQ(before, readFile(path));
  EXPECT_FALSE(FileManager::fileExists(SafeFileWriter::partialFileName(path)));
}

TEST(IndexedWorld, PlacesZonesAndObjectsAndClearsRegionsButNotTypes) {
  TempDir dir;
  std::string path = dir.write("world.dat", smallWorld());
  withWorld(path, [&](IndexedWorld& world) {
    EXPECT_EQ(16, world.cubesPerRegion());
    EXPECT_EQ(8.f, world.sizeOneRegion);
    EXPECT_TRUE(world.addCubeZone(Float3(1.f, 1.f, 1.f), Float3(1.f, 1.f, 1.f), 1));
    EXPECT_FALSE(world.addCubeZone(Float3(8.f, 1.f, 1.f), Float3(1.f, 1.f, 1.f), 1));  // spans two regions
    EXPECT_TRUE(world.addObject(Float3(4.f, 4.f, 4.f), 7));
    const WorldRegion& region = worldIndexator->getRegion(Int3(2, 1, 1));
    EXPECT_EQ(1, region.cubeZones.back().id);
    EXPECT_EQ(0, region.cubeZones.back().reserved);
    EXPECT_EQ(7, region.objects.back().type);
    world.clearRegions();
    EXPECT_EQ(Int3(2, 2, 2), worldIndexator->tableRegionSize);
    EXPECT_EQ(2, cubeTypeManager->count());

    // Saving looks every type up, which marks it used.
    cubeTypeManager->markAllUnused();
    testing::internal::GetCapturedStdout();
    testing::internal::CaptureStdout();
    EXPECT_TRUE(world.saveWorld(dir.file("saved.dat")));
    EXPECT_TRUE((*cubeTypeManager)[0].used && (*cubeTypeManager)[1].used);
  }, config(0.5, 16));
}

}  // namespace
