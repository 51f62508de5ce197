#include <gtest/gtest.h>

#include "src/world/CubeTypeManager.h"
#include "support/GLManager.h"
#include "support/BinaryReader.h"
#include "support/BinaryWriter.h"
#include "tests/common/ChildProcess.h"

namespace {

const CubeFaceNames grassNames = {"grass.png", "dirt.png", "side.png", "side2.png", "side3.png", "side4.png"};

std::string recordOf(const CubeType& type) {
  BinaryWriter out;
  type.write(out);
  return std::string(out.data.begin(), out.data.end());
}

std::unique_ptr<CubeType> readRecord(const std::string& bytes) {
  BinaryReader in("world.dat", reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  std::unique_ptr<CubeType> type(new CubeType(in));
  EXPECT_EQ(0u, in.bytesLeft());
  return type;
}

TEST(CubeTypeManager, AddCubeTypePrintsOneLineAndReturnsTheNewId) {
  CubeTypeManager types;
  testing::internal::CaptureStdout();
  EXPECT_EQ(0, types.addCubeType(grassNames, 1, 0, 1, true));
  EXPECT_EQ(1, types.addCubeType({"stone.png", "", "", "", "", ""}, 0, 0, 0, false));
  EXPECT_EQ("Add cube type with grass.png, etc. and collidable = 1\n"
            "Add cube type with stone.png, etc. and collidable = 0\n",
            testing::internal::GetCapturedStdout());

  // Each name in its own face's slot, options as given, textures not loaded.
  const CubeType& grass = types[0];
  EXPECT_EQ(grassNames, grass.textureName);
  EXPECT_EQ(1, grass.noStretch);
  EXPECT_EQ(0, grass.noDivide);
  EXPECT_EQ(1, grass.noRandomOffset);
  EXPECT_TRUE(grass.collidable);
  EXPECT_FALSE(grass.used);
  EXPECT_FALSE(grass.previewed);
  for (int face = 0; face < 6; ++face) {
    EXPECT_EQ(nullptr, grass.textureFace[face]);
    EXPECT_EQ(nullptr, grass.textureFaceShadowed[face]);
  }
}

TEST(CubeTypeManager, GetCubeTypeMarksUsedUntilMarkAllUnused) {
  CubeTypeManager types;
  testing::internal::CaptureStdout();
  types.addCubeType(grassNames, 1, 1, 1, true);
  types.addCubeType(grassNames, 1, 1, 1, true);
  testing::internal::GetCapturedStdout();
  EXPECT_TRUE(types.getCubeType(1).used);
  EXPECT_FALSE(types[0].used);  // indexed access leaves the mark alone
  types.getCubeType(0);
  types.markAllUnused();
  EXPECT_FALSE(types[0].used);
  EXPECT_FALSE(types[1].used);
}

TEST(CubeTypeManager, RemovingFromTheEndAndClearing) {
  CubeTypeManager types;
  types.removeLastCubeType();  // nothing to remove
  EXPECT_EQ(0, types.count());
  testing::internal::CaptureStdout();
  types.addCubeType(grassNames, 1, 1, 1, true);
  types.addCubeType({"b.png", "", "", "", "", ""}, 1, 1, 1, true);
  types.addCubeType({"c.png", "", "", "", "", ""}, 1, 1, 1, true);
  testing::internal::GetCapturedStdout();
  types.removeLastCubeType();
  ASSERT_EQ(2, types.count());
  EXPECT_EQ("b.png", types[1].textureName[0]);
  types.clearCubeTypes();
  EXPECT_EQ(0, types.count());
}

TEST(CubeTypeManager, AnIdOutOfRangeEndsWithTheReport) {
  ChildResult result = runInChild([] {
    CubeTypeManager types;
    types.getCubeType(0);
  });
  EXPECT_EQ(1, result.exitCode) << describe(result);
  EXPECT_NE(std::string::npos, result.err.find("no cube type 0 (there are 0)")) << result.err;
}

TEST(CubeType, RecordRoundTripsInFaceOrder) {
  CubeType type(0, 1, 0, grassNames, false);
  std::string bytes = recordOf(type);
  // Six names of length and bytes, then the four bytes.
  EXPECT_EQ(6 * 4 + 9 + 8 + 8 + 9 + 9 + 9 + 4, static_cast<int>(bytes.size()));
  EXPECT_EQ(std::string("\x09\0\0\0grass.png", 13), bytes.substr(0, 13));
  EXPECT_EQ(std::string("\x00\x01\x00\x00", 4), bytes.substr(bytes.size() - 4));

  std::unique_ptr<CubeType> back = readRecord(bytes);
  EXPECT_EQ(grassNames, back->textureName);
  EXPECT_EQ(0, back->noStretch);
  EXPECT_EQ(1, back->noDivide);
  EXPECT_EQ(0, back->noRandomOffset);
  EXPECT_FALSE(back->collidable);
  EXPECT_EQ(bytes, recordOf(*back));
}

TEST(CubeType, ReadingEmptyNamesNamesCutAtZeroAndNonzeroOptions) {
  std::string bytes;
  bytes += std::string("\0\0\0\0", 4);               // top: length 0
  bytes += std::string("\x05\0\0\0ab\0cd", 9);        // bottom: ends at the zero byte
  for (int face = 2; face < 6; ++face) bytes += std::string("\x01\0\0\0x", 5);
  bytes += std::string("\x07\x00\xff\x02", 4);        // any nonzero byte reads as 1
  std::unique_ptr<CubeType> type = readRecord(bytes);
  EXPECT_EQ("", type->textureName[0]);
  EXPECT_EQ("ab", type->textureName[1]);
  EXPECT_EQ("x", type->textureName[5]);
  EXPECT_EQ(1, type->noStretch);
  EXPECT_EQ(0, type->noDivide);
  EXPECT_EQ(1, type->noRandomOffset);
  EXPECT_TRUE(type->collidable);
}

TEST(CubeType, RedefineReplacesNamesOptionsAndCollision) {
  CubeType type(1, 1, 1, grassNames, true);
  CubeFaceNames stone = {"s0.png", "s1.png", "s2.png", "s3.png", "s4.png", "s5.png"};
  type.redefine(0, 0, 1, stone, false);
  EXPECT_EQ(stone, type.textureName);
  EXPECT_EQ(0, type.noStretch);
  EXPECT_EQ(0, type.noDivide);
  EXPECT_EQ(1, type.noRandomOffset);
  EXPECT_FALSE(type.collidable);
}

// The world tool, the fuzzer and the benchmarks run without a window: their
// types keep names only, and meshes get the texture names set by hand.
TEST(CubeTypeManager, WithoutASpriteManagerTypesLoadAndReleaseNothing) {
  ASSERT_EQ(nullptr, GLManager::spriteManager);
  CubeTypeManager types;
  testing::internal::CaptureStdout();
  types.addCubeType(grassNames, 1, 1, 1, true);
  CubeType& type = types.getCubeType(0);
  type.textureIds.face[2] = 7;
  EXPECT_EQ(7u, type.texturesForMesh().face[2]);
  EXPECT_EQ(0u, type.texturesForMesh().shadow);
  type.redefine(1, 1, 1, grassNames, false);
  types.markAllUnused();
  types.freeUnusedTextures();
  EXPECT_EQ(nullptr, type.textureShadow);
  for (int face = 0; face < 6; ++face) EXPECT_EQ(nullptr, type.textureFace[face]);
  types.clearCubeTypes();
  EXPECT_EQ("Add cube type with grass.png, etc. and collidable = 1\n", testing::internal::GetCapturedStdout());
}

}  // namespace
