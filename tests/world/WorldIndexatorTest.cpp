#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "WorldTestHelpers.h"
#include "src/world/WorldIndexator.h"

namespace {

// Regions of 16 world units, cubes of 1.
class WorldIndexatorTest : public WithCubeTypes {
 protected:
  // A unit cube with its low corner at (x, y, z).
  static CubeZone unitZone(float x, float y, float z, int type = 0) {
    return CubeZone(type, Float3(x + 0.5f, y + 0.5f, z + 0.5f), Float3(1.f, 1.f, 1.f));
  }
  WorldRegion& regionAt(const Int3& regionIndex) { return table.getRegion(regionIndex - table.tableRegionOrigin); }

  WorldIndexator table{16.f, 1.f};
};

TEST_F(WorldIndexatorTest, RegionIndicesUseFloor) {
  EXPECT_EQ(Int3(-1, 0, 1), table.regionIndexOf(Float3(-0.5f, 3.f, 31.9f)) + table.tableRegionOrigin);
  EXPECT_EQ(Int3(1, -2, 0), table.regionIndexOf(Float3(16.f, -16.5f, 0.f)) + table.tableRegionOrigin);
}

TEST_F(WorldIndexatorTest, AFreshTableCoversRegionsMinusOneAndZero) {
  EXPECT_EQ(Int3(-1, -1, -1), table.tableRegionOrigin);
  EXPECT_EQ(Int3(2, 2, 2), table.tableRegionSize);
  EXPECT_EQ(8u, table.tableRegions.size());
}

TEST_F(WorldIndexatorTest, TheTableGrowsInAnyDirectionAndKeepsRegionsAtTheirIndex) {
  ASSERT_TRUE(table.addCubeZone(unitZone(5 * 16 + 3, 2, 2)));
  EXPECT_EQ(Int3(-1, -1, -1), table.tableRegionOrigin);
  EXPECT_EQ(Int3(7, 2, 2), table.tableRegionSize);
  ASSERT_TRUE(table.addCubeZone(unitZone(-4 * 16 + 1, 2, 2)));
  EXPECT_EQ(Int3(-4, -1, -1), table.tableRegionOrigin);
  EXPECT_EQ(Int3(10, 2, 2), table.tableRegionSize);
  ASSERT_EQ(1u, regionAt(Int3(5, 0, 0)).cubeZones.size());
  EXPECT_EQ(Float3(83.5f, 2.5f, 2.5f), regionAt(Int3(5, 0, 0)).cubeZones[0].position);
  EXPECT_EQ(1u, regionAt(Int3(-4, 0, 0)).cubeZones.size());

  // Growth on several axes at once, both ends.
  ASSERT_TRUE(table.addObject(CustomObject(Float3(-40.f, 100.f, 70.f), 3)));
  EXPECT_EQ(Int3(-4, -1, -1), table.tableRegionOrigin);
  EXPECT_EQ(Int3(10, 8, 6), table.tableRegionSize);
  EXPECT_EQ(3, regionAt(Int3(-3, 6, 4)).objects.at(0).type);
  EXPECT_EQ(1u, regionAt(Int3(5, 0, 0)).cubeZones.size());
}

TEST_F(WorldIndexatorTest, ACornerMayPokeOneHundredthIntoTheNextRegion) {
  // Upper corner 0.005 beyond x = 16: the region of the lower corner.
  ASSERT_TRUE(table.addCubeZone(CubeZone(0, Float3(15.505f, 0.5f, 0.5f), Float3(1.f, 1.f, 1.f))));
  EXPECT_EQ(1u, regionAt(Int3(0, 0, 0)).cubeZones.size());
  // Lower corner 0.005 below x = 16: the region of the upper corner.
  ASSERT_TRUE(table.addCubeZone(CubeZone(0, Float3(16.495f, 0.5f, 0.5f), Float3(1.f, 1.f, 1.f))));
  EXPECT_EQ(1u, regionAt(Int3(1, 0, 0)).cubeZones.size());
  // Half a cube across the border: refused, nothing stored, nothing grown.
  Int3 size = table.tableRegionSize;
  EXPECT_FALSE(table.addCubeZone(CubeZone(0, Float3(16.f, 0.5f, 0.5f), Float3(1.f, 1.f, 1.f))));
  EXPECT_EQ(size, table.tableRegionSize);
  EXPECT_EQ(1u, regionAt(Int3(0, 0, 0)).cubeZones.size());
  EXPECT_EQ(1u, regionAt(Int3(1, 0, 0)).cubeZones.size());
}

TEST_F(WorldIndexatorTest, PlacementsBeyondTheTableLimitsAreRefusedWithOneLine) {
  struct Case {
    const char* name;
    Float3 position;
  } cases[] = {
      {"beyond 4096 regions on x", Float3(4095 * 16.f + 1.f, 0.f, 0.f)},
      {"far below", Float3(0.f, -1e9f, 0.f)},
      {"huge", Float3(3e38f, 0.f, 0.f)},
      {"infinite", Float3(0.f, 0.f, -std::numeric_limits<float>::infinity())},
      {"not a number", Float3(std::numeric_limits<float>::quiet_NaN(), 0.f, 0.f)},
  };
  for (const Case& c : cases) {
    testing::internal::CaptureStdout();
    EXPECT_FALSE(table.addObject(CustomObject(c.position, 0))) << c.name;
    EXPECT_FALSE(table.addCubeZone(CubeZone(0, c.position + Float3(0.5f, 0.5f, 0.5f), Float3(1.f, 1.f, 1.f))))
        << c.name;
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(0u, out.find("Placement refused: region (")) << c.name << ": " << out;
    EXPECT_EQ(2, std::count(out.begin(), out.end(), '\n')) << out;  // one line per refusal
    EXPECT_EQ(Int3(2, 2, 2), table.tableRegionSize) << c.name;
  }
  // The largest table on one axis still fits; the number of cells is bounded too.
  testing::internal::CaptureStdout();
  EXPECT_TRUE(table.addObject(CustomObject(Float3(4094 * 16.f + 1.f, 0.f, 0.f), 0)));
  EXPECT_EQ(Int3(4096, 2, 2), table.tableRegionSize);
  EXPECT_TRUE(table.addObject(CustomObject(Float3(0.f, 0.f, 126 * 16.f), 0)));  // 4096 x 2 x 128 = 2^20
  EXPECT_FALSE(table.addObject(CustomObject(Float3(0.f, 16.f, 0.f), 0)));      // 4096 x 3 x 128 > 2^20
  EXPECT_NE(std::string::npos, testing::internal::GetCapturedStdout().find("Placement refused: region (0, 1, 0)"));
  EXPECT_EQ(Int3(4096, 2, 128), table.tableRegionSize);
}

TEST_F(WorldIndexatorTest, FitToContentCoversTheContentAndRegionsMinusOneAndZero) {
  ASSERT_TRUE(table.addCubeZone(unitZone(3 * 16 + 1, 1, 2 * 16 + 1)));
  ASSERT_TRUE(table.addObject(CustomObject(Float3(-100.f, 0.f, 0.f), 0)));  // region (-7, 0, 0)
  ASSERT_TRUE(table.removeAt(Float3(-100.f, 0.f, 0.f)));
  table.fitToContent();
  EXPECT_EQ(Int3(-1, -1, -1), table.tableRegionOrigin);
  EXPECT_EQ(Int3(5, 2, 4), table.tableRegionSize);
  EXPECT_EQ(1u, regionAt(Int3(3, 0, 2)).cubeZones.size());

  // Content below the origin: fitting grows the low end too.
  table.resetTable();
  ASSERT_TRUE(table.addCubeZone(unitZone(-40, -40, 1)));
  ASSERT_TRUE(table.addObject(CustomObject(Float3(20.f, 1.f, 1.f), 0)));
  table.fitToContent();
  EXPECT_EQ(Int3(-3, -3, -1), table.tableRegionOrigin);
  EXPECT_EQ(Int3(5, 4, 2), table.tableRegionSize);
  EXPECT_EQ(1u, regionAt(Int3(-3, -3, 0)).cubeZones.size());
  EXPECT_EQ(1u, regionAt(Int3(1, 0, 0)).objects.size());
}

TEST_F(WorldIndexatorTest, RemoveAtTakesTheZoneAtExactlyThatPositionThenAnObject) {
  ASSERT_TRUE(table.addObject(CustomObject(Float3(2.5f, 2.5f, 2.5f), 4)));
  ASSERT_TRUE(table.addCubeZone(unitZone(2, 2, 2)));
  ASSERT_TRUE(table.addCubeZone(unitZone(2, 2, 2, 1)));
  EXPECT_FALSE(table.removeAt(Float3(2.5f, 2.5f, 2.50001f)));
  EXPECT_TRUE(table.removeAt(Float3(2.5f, 2.5f, 2.5f)));
  WorldRegion& region = regionAt(Int3(0, 0, 0));
  ASSERT_EQ(1u, region.cubeZones.size());
  EXPECT_EQ(1, region.cubeZones[0].id);  // the first one went
  EXPECT_TRUE(table.removeAt(Float3(2.5f, 2.5f, 2.5f)));
  EXPECT_TRUE(table.removeAt(Float3(2.5f, 2.5f, 2.5f)));
  EXPECT_TRUE(region.objects.empty());
  EXPECT_FALSE(table.removeAt(Float3(2.5f, 2.5f, 2.5f)));
  EXPECT_FALSE(table.removeAt(Float3(500.f, 0.f, 0.f)));  // outside the table
}

TEST_F(WorldIndexatorTest, RemoveNearestPrefersZonesAndGivesTiesToTheLaterOne) {
  ASSERT_TRUE(table.addObject(CustomObject(Float3(5.f, 5.f, 5.f), 0)));
  ASSERT_TRUE(table.addCubeZone(unitZone(0, 5, 5)));      // centre 4.5 from x = 5
  ASSERT_TRUE(table.addCubeZone(unitZone(9, 5, 5, 1)));   // the same distance on the other side
  ASSERT_TRUE(table.addCubeZone(unitZone(14, 14, 14)));   // farther
  WorldRegion& region = regionAt(Int3(0, 0, 0));
  Float3 probe(5.f, 5.5f, 5.5f);
  EXPECT_TRUE(table.removeNearest(probe));
  ASSERT_EQ(2u, region.cubeZones.size());
  EXPECT_EQ(Float3(0.5f, 5.5f, 5.5f), region.cubeZones[0].position);  // the later of the tie went
  EXPECT_TRUE(table.removeNearest(probe));
  EXPECT_TRUE(table.removeNearest(probe));
  EXPECT_EQ(1u, region.objects.size());  // the object, although nearer, waits for the zones
  EXPECT_TRUE(table.removeNearest(probe));
  EXPECT_TRUE(region.isEmpty());
  EXPECT_FALSE(table.removeNearest(probe));
  EXPECT_FALSE(table.removeNearest(Float3(0.f, 900.f, 0.f)));
}

TEST_F(WorldIndexatorTest, ClearRegionAtEmptiesOnlyThatRegion) {
  ASSERT_TRUE(table.addCubeZone(unitZone(1, 1, 1)));
  ASSERT_TRUE(table.addObject(CustomObject(Float3(3.f, 3.f, 3.f), 0)));
  ASSERT_TRUE(table.addCubeZone(unitZone(-5, 1, 1)));
  table.clearRegionAt(Float3(8.f, 8.f, 8.f));
  EXPECT_TRUE(regionAt(Int3(0, 0, 0)).isEmpty());
  EXPECT_EQ(1u, regionAt(Int3(-1, 0, 0)).cubeZones.size());
  table.clearRegionAt(Float3(1000.f, 0.f, 0.f));  // outside: nothing happens
  EXPECT_EQ(Int3(2, 2, 2), table.tableRegionSize);
}

TEST_F(WorldIndexatorTest, CollisionLooksOnlyAtThePointsOwnRegion) {
  ASSERT_TRUE(table.addCubeZone(unitZone(15, 0, 0)));  // touches x = 16 from region 0
  ASSERT_TRUE(table.addCubeZone(unitZone(20, 0, 0)));  // region 1 is in the table
  ASSERT_TRUE(table.addCubeZone(unitZone(3, 0, 0, 1)));  // not collidable
  EXPECT_TRUE(table.isCollidingPoint(Float3(15.99f, 0.5f, 0.5f)));
  EXPECT_FALSE(table.isCollidingPoint(Float3(16.f, 0.5f, 0.5f)));  // on the border: region 1
  EXPECT_FALSE(table.isCollidingPoint(Float3(3.5f, 0.5f, 0.5f)));
  EXPECT_FALSE(table.isCollidingPoint(Float3(5000.f, 0.5f, 0.5f)));
}

TEST_F(WorldIndexatorTest, GroundHeightTakesTheHighestTopOfTheHighestRegionRow) {
  const float lowest = -3.4028235e38f;
  EXPECT_EQ(lowest, table.groundHeight(4.5f, 4.5f));
  ASSERT_TRUE(table.addCubeZone(CubeZone(0, Float3(4.5f, 2.f, 4.5f), Float3(1.f, 4.f, 1.f))));
  ASSERT_TRUE(table.addCubeZone(unitZone(4, 9, 4, 1)));  // higher, any type
  ASSERT_TRUE(table.addCubeZone(unitZone(4, -10, 4)));   // lower region row
  EXPECT_EQ(10.f, table.groundHeight(4.5f, 4.5f));
  EXPECT_EQ(lowest, table.groundHeight(5.f, 4.5f));  // on the zones' edge
  ASSERT_TRUE(table.addCubeZone(unitZone(-3, -10, -3)));
  EXPECT_EQ(-9.f, table.groundHeight(-2.5f, -2.5f));
  EXPECT_EQ(lowest, table.groundHeight(900.f, 4.5f));  // column outside the table
}

TEST_F(WorldIndexatorTest, EveryChangeOrAttemptedChangeDropsTheRegionsMesh) {
  WorldRegion& region = regionAt(Int3(0, 0, 0));
  auto withMesh = [&] {
    region.vbo.reset(new VBO);
    return &region;
  };
  withMesh();
  ASSERT_TRUE(table.addCubeZone(unitZone(1, 1, 1)));
  EXPECT_EQ(nullptr, region.vbo);
  withMesh();
  ASSERT_TRUE(table.addObject(CustomObject(Float3(2.f, 2.f, 2.f), 0)));
  EXPECT_EQ(nullptr, region.vbo);
  withMesh();
  EXPECT_FALSE(table.removeAt(Float3(9.f, 9.f, 9.f)));
  EXPECT_EQ(nullptr, region.vbo);
  withMesh();
  EXPECT_TRUE(table.removeNearest(Float3(9.f, 9.f, 9.f)));
  EXPECT_EQ(nullptr, region.vbo);
  withMesh();
  table.clearRegionAt(Float3(9.f, 9.f, 9.f));
  EXPECT_EQ(nullptr, region.vbo);
  withMesh();
  regionAt(Int3(-1, -1, -1)).vbo.reset(new VBO);
  table.dropAllMeshes();
  EXPECT_EQ(nullptr, region.vbo);
  EXPECT_EQ(nullptr, regionAt(Int3(-1, -1, -1)).vbo);
}

TEST_F(WorldIndexatorTest, ResetTableEmptiesEverything) {
  ASSERT_TRUE(table.addCubeZone(unitZone(100, 1, 1)));
  table.resetTable();
  EXPECT_EQ(Int3(-1, -1, -1), table.tableRegionOrigin);
  EXPECT_EQ(Int3(2, 2, 2), table.tableRegionSize);
  for (const WorldRegion& region : table.tableRegions) EXPECT_TRUE(region.isEmpty());
}

}  // namespace
