#include <gtest/gtest.h>

#include "WorldTestHelpers.h"
#include "support/FileManager.h"
#include "support/XMLSimple.h"
#include "tests/common/ChildProcess.h"
#include "tests/common/TempDir.h"

namespace {

ChildResult runTool(const std::vector<std::string>& args, const std::string& workDir) {
  std::vector<std::string> command = {CUBEWRIGHT_WORLD_TOOL};
  command.insert(command.end(), args.begin(), args.end());
  return runProgram(command, workDir);
}

std::string patched(std::string bytes, size_t offset, int32_t value) {
  return bytes.replace(offset, 4, int32Bytes(value));
}

// The 165 bytes of an empty world.
std::string emptyWorld() {
  CubeTypeManager types;
  WorldIndexator table(16.f, 1.f);
  return worldBytes(types, table);
}

// One cube type named "a" on every face (bytes 13 to 46), the table at 47,
// and in the first cell a zone (record at 79, type id at 103) and an object
// (record at 143, type at 155).
std::string oneZoneWorld() {
  CubeTypeManager types;
  WorldIndexator table(16.f, 1.f);
  testing::internal::CaptureStdout();
  types.addCubeType({"a", "a", "a", "a", "a", "a"}, 1, 1, 1, true);
  testing::internal::GetCapturedStdout();
  EXPECT_TRUE(table.addCubeZone(CubeZone(0, Float3(-0.5f, -0.5f, -0.5f), Float3(1.f, 1.f, 1.f))));
  EXPECT_TRUE(table.addObject(CustomObject(Float3(-1.f, -1.f, -1.f), 3)));
  return worldBytes(types, table);
}

TEST(WorldTool, EveryTruncationOfASmallWorldIsRefusedWithAMessage) {
  CubeTypeManager types;
  WorldIndexator table(16.f, 1.f);
  buildSmallWorld(types, table);
  std::string world = worldBytes(types, table);
  TempDir dir;
  for (size_t length = 0; length < world.size(); ++length) {
    dir.write("world.dat", world.substr(0, length));
    ChildResult result = runTool({"check", "world.dat"}, dir.path());
    SCOPED_TRACE("truncated to " + std::to_string(length) + " bytes");
    EXPECT_EQ(1, result.exitCode) << describe(result);
    EXPECT_EQ(0, result.signal);
    EXPECT_EQ(0u, result.err.find("world.dat: byte ")) << result.err;
    EXPECT_EQ(1, std::count(result.err.begin(), result.err.end(), '\n')) << result.err;
  }
  dir.write("world.dat", world);
  ChildResult whole = runTool({"check", "world.dat"}, dir.path());
  EXPECT_EQ(0, whole.exitCode) << describe(whole);
  EXPECT_EQ("world.dat: a valid world file\n", whole.out);
}

TEST(WorldTool, DamagedFilesAreRefusedWithFileByteAndProblem) {
  const std::string empty = emptyWorld(), one = oneZoneWorld();
  const std::string limits = "exceeds the limits of 4096 regions on an axis and 1048576 in all";
  struct Case {
    std::string content;
    std::string message;
  } cases[] = {
      {"", "byte 0: the file does not start with \"WORLD\""},
      {"world" + empty.substr(5), "byte 0: the file does not start with \"WORLD\""},
      {patched(empty, 5, 2), "byte 5: version 2 is not 1"},
      {patched(empty, 9, 2147483647), "byte 9: cube type count 2147483647 exceeds the 152 bytes left"},
      {patched(empty, 9, -1), "byte 9: cube type count -1 is negative"},
      {patched(empty, 13, 0), "byte 13: region table at origin (0, -1, -1) with size (2, 2, 2) does not cover "
                              "regions -1 and 0 on every axis"},
      {patched(empty, 25, -5), "byte 13: region table at origin (-1, -1, -1) with size (-5, 2, 2) does not cover "
                               "regions -1 and 0 on every axis"},
      {patched(empty, 25, 4097), "byte 25: region table size (4097, 2, 2) " + limits},
      {patched(patched(empty, 25, 1024), 29, 1024), "byte 25: region table size (1024, 1024, 2) " + limits},
      {patched(patched(patched(empty, 25, 2147483647), 29, 2147483647), 33, 2147483647),
       "byte 25: region table size (2147483647, 2147483647, 2147483647) " + limits},
      {patched(empty, 25, 3), "byte 25: region table of 12 regions exceeds the 128 bytes left"},
      {patched(empty, 37, 2147483647), "byte 37: zone count 2147483647 exceeds the 124 bytes left"},
      {patched(empty, 37, -7), "byte 37: zone count -7 is negative"},
      {patched(empty, 41, 1000), "byte 41: zone record extension length 1000 exceeds the 120 bytes left"},
      {patched(empty, 41, -1), "byte 41: zone record extension length -1 is negative"},
      {patched(empty, 45, 100), "byte 45: object count 100 exceeds the 116 bytes left"},
      {patched(empty, 49, -2147483647 - 1), "byte 49: object record extension length -2147483648 is negative"},
      {patched(one, 13, 2147483647), "byte 13: top face name length 2147483647 exceeds the " +
                                         std::to_string(one.size() - 17) + " bytes left"},
      {patched(one, 103, 1), "byte 103: cube type id 1 is out of range (the world has 1 cube types)"},
      {patched(one, 103, -1), "byte 103: cube type id -1 is out of range (the world has 1 cube types)"},
      {patched(one, 115, 1000000), "byte 115: +x shadow point count 1000000 exceeds the " +
                                       std::to_string(one.size() - 119) + " bytes left"},
      {patched(one, 155, -1), "byte 155: object type -1 is out of range (0 to 65535)"},
      {patched(one, 155, 70000), "byte 155: object type 70000 is out of range (0 to 65535)"},
  };
  ASSERT_EQ(int32Bytes(3), one.substr(155, 4));  // the offsets above fit the fixture
  ASSERT_EQ(int32Bytes(0), one.substr(103, 4));
  TempDir dir;
  for (const Case& c : cases) {
    dir.write("world.dat", c.content);
    ChildResult result = runTool({"check", "world.dat"}, dir.path());
    EXPECT_EQ(1, result.exitCode) << describe(result);
    EXPECT_EQ("world.dat: " + c.message + "\n", result.err);
  }
}

TEST(WorldTool, InfoDescribesTypesTableAndCounts) {
  CubeTypeManager types;
  WorldIndexator table(16.f, 1.f);
  buildSmallWorld(types, table);
  TempDir dir;
  std::string world = worldBytes(types, table);
  dir.write("small.dat", world + "xyz");
  ChildResult result = runTool({"info", "small.dat"}, dir.path());
  EXPECT_EQ(0, result.exitCode) << describe(result);
  EXPECT_EQ("file: small.dat (" + std::to_string(world.size() + 3) +
                " bytes)\n"
                "version: 1\n"
                "cube types: 2\n"
                "  0: top=grass.png bottom=dirt.png front=s.png back=s.png left=s.png right=s.png | stretch=no "
                "divide=yes random_offset=no collidable=yes\n"
                "  1: top=glass.png bottom= front= back= left= right= | stretch=yes divide=no random_offset=yes "
                "collidable=no\n"
                "region table: origin (-2, -1, -1), size (3, 2, 2), 12 regions, 2 not empty\n"
                "zones: 2\n"
                "objects: 1\n"
                "shadows: 1 faces fully shadowed, 1 shadow triangles\n"
                "trailing bytes (ignored): 3\n",
            result.out);
}

TEST(WorldTool, UsageAndMissingFiles) {
  TempDir dir;
  ChildResult noArguments = runTool({}, dir.path());
  EXPECT_EQ(2, noArguments.exitCode);
  EXPECT_EQ(0u, noArguments.err.find("usage: cubewright-world info FILE\n"));
  EXPECT_EQ(2, runTool({"frobnicate", "x"}, dir.path()).exitCode);
  ChildResult missing = runTool({"check", "none.dat"}, dir.path());
  EXPECT_EQ(1, missing.exitCode);
  EXPECT_EQ("none.dat: cannot open: No such file or directory\n", missing.err);
  ChildResult directory = runTool({"check", "."}, dir.path());
  EXPECT_EQ(1, directory.exitCode);
  EXPECT_EQ(".: not a regular file\n", directory.err);
}

// The demo game's world is ours: made by the tool, valid, laid out for the
// game's configuration, and every texture it names is there.
TEST(WorldTool, TheDemoWorldIsTheToolsLandscapeAndFitsTheGame) {
  const std::string game = std::string(CUBEWRIGHT_SOURCE_DIR) + "/game/";
  TempDir dir;
  ChildResult made = runTool({"make-demo", "demo.dat"}, dir.path());
  ASSERT_EQ(0, made.exitCode) << describe(made);
  std::string committed = readFile(game + "world.dat");
  EXPECT_TRUE(readFile(dir.file("demo.dat")) == committed) << "game/world.dat is not what make-demo writes";

  XMLSimple config(game + "world.xml");
  float sizeOneCube = static_cast<float>(config.getDouble("size_one_cube"));
  WorldIndexator table(sizeOneCube * config.getInt("size_one_region"), sizeOneCube);
  CubeTypeManager types;
  ASSERT_EQ("", readWorldBytes(committed, types, table));
  EXPECT_GE(types.count(), 4);
  EXPECT_TRUE(committed == worldBytes(types, table)) << "loading and saving changes game/world.dat";

  // Every zone lies in the region that holds it, with the game's sizes.
  size_t zones = 0;
  for (int i = 0; i < table.tableRegionSize.x(); ++i)
    for (int j = 0; j < table.tableRegionSize.y(); ++j)
      for (int k = 0; k < table.tableRegionSize.z(); ++k)
        for (const CubeZone& zone : table.getRegion(Int3(i, j, k)).cubeZones) {
          Int3 home;
          ASSERT_TRUE(table.findRegionForBox(zone.position, zone.size, home));
          EXPECT_EQ(Int3(i, j, k), home);
          ++zones;
        }
  EXPECT_GT(zones, 1000u);

  for (int id = 0; id < types.count(); ++id)
    for (const std::string& name : types[id].textureName) {
      EXPECT_TRUE(FileManager::fileExists(game + "cube_textures/" + name)) << name;
      EXPECT_TRUE(FileManager::fileExists(game + "cube_shadowed_textures/" + name)) << name;
    }
}

}  // namespace
