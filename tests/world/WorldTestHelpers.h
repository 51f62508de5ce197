#pragma once
// Small fixtures shared by the world tests: a cube type list installed as the
// process-wide one, zones laid out on the lattice, and world files made in
// memory.

#include <gtest/gtest.h>

#include <string>

#include "src/world/CubeTypeManager.h"
#include "src/world/IndexedWorld.h"
#include "src/world/WorldIndexator.h"
#include "support/BinaryReader.h"
#include "support/BinaryWriter.h"

// Installs its own cube type list as `cubeTypeManager` for the test's length,
// with type 0 collidable and type 1 not.
class WithCubeTypes : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(nullptr, cubeTypeManager);
    cubeTypeManager = &types;
    addType(1, 1, 1, true);
    addType(1, 1, 1, false);
  }
  void TearDown() override { cubeTypeManager = nullptr; }

  int addType(unsigned char noStretch, unsigned char noDivide, unsigned char noRandomOffset, bool collidable) {
    CubeFaceNames names = {"t.png", "b.png", "f.png", "k.png", "l.png", "r.png"};
    testing::internal::CaptureStdout();
    int id = types.addCubeType(names, noStretch, noDivide, noRandomOffset, collidable);
    testing::internal::GetCapturedStdout();
    return id;
  }

  CubeTypeManager types;
};

// The bytes of a world written from a type list and a table.
inline std::string worldBytes(CubeTypeManager& types, const WorldIndexator& table) {
  BinaryWriter out;
  IndexedWorld::writeWorld(out, types, table);
  return std::string(out.data.begin(), out.data.end());
}

// Reads `bytes` as a world file named "world.dat"; returns the reader's
// message, or "" when the file loads.
inline std::string readWorldBytes(const std::string& bytes, CubeTypeManager& types, WorldIndexator& table) {
  BinaryReader in("world.dat", reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  try {
    IndexedWorld::readWorld(in, types, table);
  } catch (const FileFormatError& error) {
    return error.what();
  }
  return "";
}

inline std::string int32Bytes(int32_t value) {
  BinaryWriter out;
  out.writeInt32(value);
  return std::string(out.data.begin(), out.data.end());
}

// A small world that uses every part of the format: two cube types, zones
// with shadow data in regions on both sides of the origin, script objects.
inline void buildSmallWorld(CubeTypeManager& types, WorldIndexator& table) {
  testing::internal::CaptureStdout();
  types.addCubeType({"grass.png", "dirt.png", "s.png", "s.png", "s.png", "s.png"}, 1, 0, 1, true);
  types.addCubeType({"glass.png", "", "", "", "", ""}, 0, 1, 0, false);
  testing::internal::GetCapturedStdout();
  CubeZone shaded(0, Float3(2.5f, 1.f, 2.5f), Float3(1.f, 2.f, 1.f));
  shaded.faceFullyShadowed[SHADOW_FACE_RIGHT] = true;
  shaded.editShadowTriangles(SHADOW_FACE_TOP) = {Float3(-0.5f, 1.f, -0.5f), Float3(0.5f, 1.f, -0.5f),
                                                        Float3(-0.5f, 1.f, 0.5f)};
  shaded.reserved = 5;
  EXPECT_TRUE(table.addCubeZone(shaded));
  EXPECT_TRUE(table.addCubeZone(CubeZone(1, Float3(-20.5f, 0.5f, 0.5f), Float3(1.f, 1.f, 1.f))));
  EXPECT_TRUE(table.addObject(CustomObject(Float3(3.f, 2.f, 1.f), 2)));
}
