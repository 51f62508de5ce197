#include <gtest/gtest.h>

#include "WorldTestHelpers.h"
#include "src/world/CubeZone.h"
#include "tests/common/ChildProcess.h"

namespace {

class CubeZoneTest : public WithCubeTypes {};

std::string recordOf(const CubeZone& zone) {
  BinaryWriter out;
  zone.write(out);
  return std::string(out.data.begin(), out.data.end());
}

CubeZone readZone(const std::string& bytes, int typeCount) {
  BinaryReader in("world.dat", reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  CubeZone zone;
  zone.read(in, typeCount);
  EXPECT_EQ(0u, in.bytesLeft());
  return zone;
}

TEST_F(CubeZoneTest, ContainsPointIncludesTheBordersOfCollidableZonesOnly) {
  CubeZone zone(0, Float3(1.f, 2.f, 3.f), Float3(2.f, 4.f, 6.f));  // spans (0,0,0) to (2,4,6)
  EXPECT_TRUE(zone.containsPoint(Float3(0.f, 0.f, 0.f)));
  EXPECT_TRUE(zone.containsPoint(Float3(2.f, 4.f, 6.f)));
  EXPECT_TRUE(zone.containsPoint(Float3(1.f, 4.f, 3.f)));
  EXPECT_FALSE(zone.containsPoint(Float3(1.f, 4.0001f, 3.f)));
  EXPECT_FALSE(zone.containsPoint(Float3(-0.0001f, 2.f, 3.f)));

  CubeZone ghost(1, Float3(1.f, 2.f, 3.f), Float3(2.f, 4.f, 6.f));
  EXPECT_FALSE(ghost.containsPoint(Float3(1.f, 2.f, 3.f)));
  EXPECT_TRUE(types[1].used);  // the lookup marks the type
}

TEST_F(CubeZoneTest, ANegativeTypeIdEndsWithTheReport) {
  ChildResult result = runInChild([] { CubeZone(-1, Float3(), Float3(1.f, 1.f, 1.f)).containsPoint(Float3()); });
  EXPECT_EQ(1, result.exitCode);
  EXPECT_NE(std::string::npos, result.err.find("Condition: id >= 0")) << result.err;
}

TEST_F(CubeZoneTest, TopAtNeedsAPointStrictlyInsideTheGroundPlan) {
  CubeZone zone(1, Float3(0.f, 5.f, 0.f), Float3(2.f, 3.f, 2.f));  // the type's collision plays no part
  EXPECT_EQ(6.5f, zone.topAt(0.5f, -0.5f).value());
  EXPECT_FALSE(zone.topAt(1.f, 0.f).has_value());  // exact x edge
  EXPECT_FALSE(zone.topAt(0.f, -1.f).has_value());
  EXPECT_FALSE(zone.topAt(3.f, 0.f).has_value());
}

TEST_F(CubeZoneTest, RecordIs56BytesWithoutShadowPointsAndKeepsTheShadowFaceOrder) {
  CubeZone plain(0, Float3(0.5f, 0.5f, 0.5f), Float3(1.f, 1.f, 1.f));
  EXPECT_EQ(56u, recordOf(plain).size());
  CubeZone dark = plain;
  for (bool& flag : dark.faceFullyShadowed) flag = true;
  std::string darkBytes = recordOf(dark);
  EXPECT_EQ(56u, darkBytes.size());
  EXPECT_EQ(int32Bytes(-1), darkBytes.substr(32, 4));

  CubeZone shaded = plain;
  shaded.id = 1;
  shaded.reserved = 77;
  shaded.faceFullyShadowed[SHADOW_FACE_RIGHT] = true;
  shaded.editShadowTriangles(SHADOW_FACE_TOP) = {Float3(0.f, 0.5f, 0.f), Float3(0.5f, 0.5f, 0.f),
                                                        Float3(0.f, 0.5f, 0.5f)};
  std::string bytes = recordOf(shaded);
  ASSERT_EQ(56u + 36u, bytes.size());
  // -x: 0 points; +x: fully shadowed; -y: 0; +y: 3 points.
  EXPECT_EQ(int32Bytes(0) + int32Bytes(-1) + int32Bytes(0) + int32Bytes(3), bytes.substr(32, 16));

  CubeZone back = readZone(bytes, 2);
  EXPECT_EQ(shaded.position, back.position);
  EXPECT_EQ(shaded.size, back.size);
  EXPECT_EQ(1, back.id);
  EXPECT_EQ(77, back.reserved);
  for (int face = 0; face < 6; ++face) {
    EXPECT_EQ(shaded.faceFullyShadowed[face], back.faceFullyShadowed[face]) << face;
    EXPECT_EQ(shaded.shadowTriangles(face), back.shadowTriangles(face)) << face;
  }
  EXPECT_EQ(bytes, recordOf(back));
}

TEST_F(CubeZoneTest, DamagedRecordsAreRefusedWithTheirOffset) {
  CubeZone zone(1, Float3(0.5f, 0.5f, 0.5f), Float3(1.f, 1.f, 1.f));
  std::string good = recordOf(zone);
  auto problem = [](const std::string& bytes, int typeCount) {
    try {
      readZone(bytes, typeCount);
    } catch (const FileFormatError& error) {
      return std::string(error.what());
    }
    return std::string();
  };
  EXPECT_EQ("world.dat: byte 24: cube type id 1 is out of range (the world has 1 cube types)", problem(good, 1));
  std::string negativeId = good.substr(0, 24) + int32Bytes(-3) + good.substr(28);
  EXPECT_EQ("world.dat: byte 24: cube type id -3 is out of range (the world has 2 cube types)",
            problem(negativeId, 2));
  std::string hugeCount = good.substr(0, 36) + int32Bytes(2000000000) + good.substr(40);
  EXPECT_EQ("world.dat: byte 36: +x shadow point count 2000000000 exceeds the 16 bytes left",
            problem(hugeCount, 2));
  std::string negativeCount = good.substr(0, 36) + int32Bytes(-2) + good.substr(40);
  EXPECT_EQ("world.dat: byte 36: +x shadow point count -2 is negative", problem(negativeCount, 2));
  std::string nanSize = good.substr(0, 12) + std::string("\0\0\xc0\x7f", 4) + good.substr(16);
  EXPECT_NE(std::string::npos, problem(nanSize, 2).find("world.dat: byte 0: zone at (0.5, 0.5, 0.5) of size (nan"));
  EXPECT_EQ("world.dat: byte 52: file ends early: +z shadow point count needs 4 bytes, 2 left",
            problem(good.substr(0, 54), 2));
}

}  // namespace
