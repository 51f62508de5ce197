#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "WorldTestHelpers.h"
#include "src/world/RegionMeshBuilder.h"
#include "support/VBO.h"

namespace {

// Stand-in texture names: type 0 (collidable) draws face f with 10 + f, its
// shadowed copy with 20 + f and the shadow overlay with 30; type 1 (not
// collidable) with 40 + f, 50 + f and 60.
class RegionMeshBuilderTest : public WithCubeTypes {
 protected:
  void SetUp() override {
    WithCubeTypes::SetUp();
    for (int id = 0; id < 2; ++id) setTextures(types[id], 10 + 30 * id);
    drawShadows = true;
  }
  void TearDown() override {
    drawShadows = true;
    WithCubeTypes::TearDown();
  }
  static void setTextures(CubeType& type, unsigned int base) {
    for (int face = 0; face < 6; ++face) {
      type.textureIds.face[face] = base + face;
      type.textureIds.faceShadowed[face] = base + 10 + face;
    }
    type.textureIds.shadow = base + 20;
  }
  // The textures of every quad in the mesh, one entry per quad.
  static std::multiset<unsigned int> quadTextures(const VBO& vbo) {
    std::multiset<unsigned int> textures;
    for (const auto& entry : vbo.geometries)
      for (size_t i = 0; i < entry.second.verticesQuadVect.size() / 4; ++i) textures.insert(entry.first);
    return textures;
  }
  // Builds the mesh of every zone of `zones` into one VBO.
  static std::multiset<unsigned int> meshOf(const std::vector<CubeZone>& zones, VBO& vbo) {
    for (const CubeZone& zone : zones) addZoneToMesh(zone, vbo, zones, 1.f);
    return quadTextures(vbo);
  }
  static CubeZone unitZone(int type, float x, float y, float z) {
    return CubeZone(type, Float3(x + 0.5f, y + 0.5f, z + 0.5f), Float3(1.f, 1.f, 1.f));
  }
};

TEST_F(RegionMeshBuilderTest, FacesBetweenTwoCollidableZonesAreHidden) {
  VBO vbo;
  std::vector<CubeZone> zones = {unitZone(0, 0, 0, 0), unitZone(0, 1, 0, 0)};  // side by side along x
  // Each zone adds five quads: the left one loses its right face, the right one its left face.
  EXPECT_EQ((std::multiset<unsigned int>{10, 10, 11, 11, 12, 12, 13, 13, 14, 15}), meshOf(zones, vbo));
}

TEST_F(RegionMeshBuilderTest, ANonCollidableNeighbourHidesNothingButLosesItsTouchingFace) {
  VBO vbo;
  std::vector<CubeZone> zones = {unitZone(0, 0, 0, 0), unitZone(1, 0, 1, 0)};  // the second on top
  EXPECT_EQ((std::multiset<unsigned int>{10, 11, 12, 13, 14, 15, 40, 42, 43, 44, 45}), meshOf(zones, vbo));
}

TEST_F(RegionMeshBuilderTest, AFaceNotCoveredAtAllFourProbesIsKept) {
  VBO vbo;
  std::vector<CubeZone> zones = {CubeZone(0, Float3(1.f, 1.f, 1.f), Float3(2.f, 2.f, 2.f)),  // x 0..2
                                 unitZone(0, 2, 0, 0)};                                     // x 2..3
  // The large zone keeps its right face; the small one loses its left face.
  EXPECT_EQ((std::multiset<unsigned int>{10, 10, 11, 11, 12, 12, 13, 13, 14, 15, 15}), meshOf(zones, vbo));
}

TEST_F(RegionMeshBuilderTest, AZoneIsNeverHiddenByItselfButByAnIdenticalCopy) {
  VBO alone, twice;
  // So tall that the probes of its top and bottom faces fall inside itself.
  CubeZone tower(0, Float3(0.5f, 0.f, 0.5f), Float3(1.f, 20000.f, 1.f));
  EXPECT_EQ((std::multiset<unsigned int>{10, 11, 12, 13, 14, 15}), meshOf({tower}, alone));
  EXPECT_EQ((std::multiset<unsigned int>{12, 12, 13, 13, 14, 14, 15, 15}), meshOf({tower, tower}, twice));
}

TEST_F(RegionMeshBuilderTest, CornersAndTextureCoordinatesOfTheTopFace) {
  int perCube = addType(1, 1, 1, true);
  setTextures(types[perCube], 70);
  VBO vbo;
  // A 4 x 1 x 2 zone of unit cubes with its low corner at the origin.
  CubeZone zone(perCube, Float3(2.f, 0.5f, 1.f), Float3(4.f, 1.f, 2.f));
  addZoneToMesh(zone, vbo, {zone}, 1.f);
  const TextureGeometry& top = vbo.geometries.at(70);
  EXPECT_EQ((std::vector<Float3>{Float3(0.f, 1.f, 0.f), Float3(0.f, 1.f, 2.f), Float3(4.f, 1.f, 2.f),
                                 Float3(4.f, 1.f, 0.f)}),
            top.verticesQuadVect);
  // The table's (0, 2), (0, 0), (4, 0), (4, 2) with t flipped to 1 - t.
  EXPECT_EQ((std::vector<Float2>{Float2(0.f, -1.f), Float2(0.f, 1.f), Float2(4.f, 1.f), Float2(4.f, -1.f)}),
            top.texCoordQuadVect);
  // The right face repeats the texture along z and y.
  EXPECT_EQ((std::vector<Float2>{Float2(2.f, 1.f), Float2(2.f, 0.f), Float2(0.f, 0.f), Float2(0.f, 1.f)}),
            vbo.geometries.at(75).texCoordQuadVect);
}

TEST_F(RegionMeshBuilderTest, StretchedAndDividedTexturesSpanAHundredthOfTheImage) {
  int stretched = addType(0, 0, 1, true);
  setTextures(types[stretched], 70);
  drawShadows = false;
  VBO vbo;
  CubeZone zone(stretched, Float3(0.f, 0.f, 0.f), Float3(3.f, 5.f, 7.f));
  addZoneToMesh(zone, vbo, {zone}, 1.f);
  ASSERT_EQ(6u, vbo.geometries.size());
  for (const auto& entry : vbo.geometries) {
    std::set<float> s, t;
    for (const Float2& coord : entry.second.texCoordQuadVect) {
      s.insert(coord.x());
      t.insert(coord.y());
    }
    EXPECT_EQ((std::set<float>{0.f, 0.04f}), s) << "texture " << entry.first;
    EXPECT_EQ((std::set<float>{1.f - 0.04f, 1.f}), t) << "texture " << entry.first;
  }
}

TEST_F(RegionMeshBuilderTest, RandomOffsetsShiftFacePairsByTheNextSixRandomNumbers) {
  int shifted = addType(1, 1, 0, true);
  setTextures(types[shifted], 70);
  CubeZone zone(shifted, Float3(0.f, 0.f, 0.f), Float3(2.f, 3.f, 4.f));  // scale (2, 3, 4)
  std::srand(1234);
  float r[6];
  for (float& value : r) value = static_cast<float>(std::rand() % 32768);  // 0 to 32767 on every C library
  std::srand(1234);
  VBO vbo;
  addZoneToMesh(zone, vbo, {zone}, 1.f);
  // Offsets (s, t) per face pair: top/bottom (r2 x sx, r1 x sz), front/back
  // (r4 x sx, r3 x sy), left/right (r6 x sz, r5 x sy), with t then flipped;
  // each at most one repeat of the texture.
  const float offsets[3][2] = {{r[1] * 2.f / 32767.f, r[0] * 4.f / 32767.f},
                               {r[3] * 2.f / 32767.f, r[2] * 3.f / 32767.f},
                               {r[5] * 4.f / 32767.f, r[4] * 3.f / 32767.f}};
  // Base coordinates (s, t) of corner 1 of each face, from the face table.
  const float base[6][2] = {{0.f, 0.f}, {2.f, 0.f}, {2.f, 0.f}, {0.f, 3.f}, {4.f, 0.f}, {4.f, 3.f}};
  for (int face = 0; face < 6; ++face) {
    const Float2& coord = vbo.geometries.at(70 + face).texCoordQuadVect[1];
    const float* offset = offsets[face / 2];
    SCOPED_TRACE(face);
    EXPECT_NEAR(base[face][0] + offset[0], coord.x(), 1e-4f);
    EXPECT_NEAR(1.f - (base[face][1] + offset[1]), coord.y(), 1e-4f);
  }
}

TEST_F(RegionMeshBuilderTest, FullyShadowedFacesTakeTheShadowedTexture) {
  // Shadow face order -x, +x, -y, +y, -z, +z against cube faces top, bottom, front, back, left, right.
  const int cubeFaceOfShadowFace[6] = {FACE_LEFT, FACE_RIGHT, FACE_BOTTOM, FACE_TOP, FACE_BACK, FACE_FRONT};
  for (int shadowFace = 0; shadowFace < 6; ++shadowFace) {
    CubeZone zone = unitZone(0, 0, 0, 0);
    zone.faceFullyShadowed[shadowFace] = true;  // with no shadow triangles at all
    VBO vbo;
    std::multiset<unsigned int> expected = {10, 11, 12, 13, 14, 15};
    int face = cubeFaceOfShadowFace[shadowFace];
    expected.erase(10u + face);
    expected.insert(20u + face);
    EXPECT_EQ(expected, meshOf({zone}, vbo)) << "shadow face " << shadowFace;
  }
}

TEST_F(RegionMeshBuilderTest, ShadowTrianglesAreLiftedOffTheirFaceAndDrawnLast) {
  CubeZone zone = unitZone(0, 4, 4, 4);  // centre (4.5, 4.5, 4.5)
  zone.editShadowTriangles(SHADOW_FACE_TOP) = {Float3(-0.5f, 0.5f, -0.5f), Float3(0.5f, 0.5f, -0.5f),
                                                      Float3(-0.5f, 0.5f, 0.5f)};
  zone.editShadowTriangles(SHADOW_FACE_LEFT) = {Float3(-0.5f, 0.f, 0.f), Float3(-0.5f, 0.5f, 0.f),
                                                       Float3(-0.5f, 0.f, 0.5f), Float3(-0.5f, 0.f, 0.f),
                                                       Float3(-0.5f, -0.5f, 0.f), Float3(-0.5f, 0.f, -0.5f)};
  VBO vbo;
  addZoneToMesh(zone, vbo, {zone}, 1.f);
  const TextureGeometry& shadow = vbo.geometries.at(30);
  EXPECT_TRUE(shadow.transparent);
  EXPECT_TRUE(shadow.verticesQuadVect.empty());
  ASSERT_EQ(9u, shadow.verticesTriVect.size());
  // Left face first (shadow face order), 0.1 out along -x.
  EXPECT_EQ(Float3(3.9f, 4.5f, 4.5f), shadow.verticesTriVect[0]);
  EXPECT_EQ(Float3(3.9f, 4.f, 4.5f), shadow.verticesTriVect[4]);
  // Then the top face, 0.1 up.
  EXPECT_EQ(Float3(4.f, 5.1f, 4.f), shadow.verticesTriVect[6]);
  EXPECT_EQ(Float3(5.f, 5.1f, 4.f), shadow.verticesTriVect[7]);
  for (size_t i = 0; i < 9; i += 3)
    EXPECT_EQ((std::vector<Float2>{Float2(0.f, 0.f), Float2(1.f, 0.f), Float2(0.f, 1.f)}),
              std::vector<Float2>(shadow.texCoordTriVect.begin() + i, shadow.texCoordTriVect.begin() + i + 3));
  EXPECT_EQ(30u, vbo.buildOrder().back());

  // Without triangles the overlay texture is still marked.
  VBO plain;
  addZoneToMesh(unitZone(0, 0, 0, 0), plain, {unitZone(0, 0, 0, 0)}, 1.f);
  EXPECT_TRUE(plain.geometries.at(30).transparent);
  EXPECT_TRUE(plain.geometries.at(30).verticesTriVect.empty());
}

TEST_F(RegionMeshBuilderTest, WithoutDrawShadowsNoTriangleIsAdded) {
  drawShadows = false;
  CubeZone zone = unitZone(0, 0, 0, 0);
  zone.editShadowTriangles(SHADOW_FACE_TOP) = {Float3(), Float3(), Float3()};
  VBO vbo;
  addZoneToMesh(zone, vbo, {zone}, 1.f);
  EXPECT_EQ(0u, vbo.geometries.count(30));
  for (const auto& entry : vbo.geometries) {
    EXPECT_TRUE(entry.second.verticesTriVect.empty());
    EXPECT_FALSE(entry.second.transparent);
  }
}

TEST_F(RegionMeshBuilderTest, MeshingMarksTheTypeUsedAndProbesAreInWorldUnits) {
  // Cubes of 4 units: the 0.5 probe stays inside a neighbour 4 units wide.
  VBO vbo;
  std::vector<CubeZone> zones = {CubeZone(0, Float3(2.f, 2.f, 2.f), Float3(4.f, 4.f, 4.f)),
                                 CubeZone(0, Float3(6.f, 2.f, 2.f), Float3(4.f, 4.f, 4.f))};
  types.markAllUnused();
  for (const CubeZone& zone : zones) addZoneToMesh(zone, vbo, zones, 4.f);
  EXPECT_TRUE(types[0].used);
  EXPECT_EQ(10u, quadTextures(vbo).size());
}

}  // namespace

namespace {

// The hiding test taken literally: every other zone of the region, in list
// order, against the four probes of the face.
bool hiddenByAnyZone(const CubeZone& zone, int face, const std::vector<CubeZone>& zones) {
  static const float normals[6][3] = {{0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}, {-1, 0, 0}, {1, 0, 0}};
  static const float signs[6][4][3] = {
      {{-1, 1, -1}, {-1, 1, 1}, {1, 1, 1}, {1, 1, -1}},     {{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}},
      {{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}},     {{-1, 1, -1}, {1, 1, -1}, {1, -1, -1}, {-1, -1, -1}},
      {{-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}, {-1, 1, -1}}, {{1, -1, -1}, {1, 1, -1}, {1, 1, 1}, {1, -1, 1}}};
  Float3 half = zone.size * 0.5f;
  Float3 n(normals[face][0] * 0.5f, normals[face][1] * 0.5f, normals[face][2] * 0.5f);
  for (const CubeZone& other : zones) {
    if (&other == &zone) continue;
    bool all = true;
    for (int c = 0; c < 4 && all; ++c) {
      Float3 p = Float3(signs[face][c][0] * half.x(), signs[face][c][1] * half.y(), signs[face][c][2] * half.z()) +
                 zone.position;
      all = other.containsPoint(zone.position + (p + n - zone.position) * 0.9999f);
    }
    if (all) return true;
  }
  return false;
}

TEST_F(RegionMeshBuilderTest, TheGridHidesExactlyTheFacesTheLiteralTestHides) {
  std::srand(99);
  auto random = [](int n) { return std::rand() % n; };
  for (int round = 0; round < 40; ++round) {
    // Overlapping boxes on a half-cube lattice, some not collidable, some
    // flat, one now and then much larger than the rest.
    std::vector<CubeZone> zones;
    int count = 1 + random(60);
    for (int i = 0; i < count; ++i) {
      Float3 size(random(4) * 0.5f + 0.5f * (random(5) != 0), 1.f + random(3), 1.f + random(4) * 0.5f);
      if (random(20) == 0) size = size * 8.f;
      zones.emplace_back(random(5) == 0 ? 1 : 0, Float3(random(24) * 0.5f, random(16) * 0.5f, random(24) * 0.5f),
                         size);
      if (random(10) == 0) zones.push_back(zones.back());  // an identical twin
    }
    std::multiset<std::pair<unsigned int, Float3>, bool (*)(const std::pair<unsigned int, Float3>&,
                                                             const std::pair<unsigned int, Float3>&)>
        expected([](const std::pair<unsigned int, Float3>& a, const std::pair<unsigned int, Float3>& b) {
          if (a.first != b.first) return a.first < b.first;
          for (int axis = 0; axis < 3; ++axis)
            if (a.second[axis] != b.second[axis]) return a.second[axis] < b.second[axis];
          return false;
        }),
        built(expected.key_comp());
    for (const CubeZone& zone : zones)
      for (int face = 0; face < 6; ++face)
        if (!hiddenByAnyZone(zone, face, zones)) expected.insert({10u + 30 * zone.id + face, zone.position});
    VBO vbo;
    RegionMeshBuilder builder(zones, 1.f);
    for (const CubeZone& zone : zones) {
      VBO one;
      builder.addZone(zone, one);
      for (const auto& entry : one.geometries)
        for (size_t q = 0; q < entry.second.verticesQuadVect.size() / 4; ++q) built.insert({entry.first, zone.position});
    }
    ASSERT_EQ(expected.size(), built.size()) << "round " << round;
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), built.begin(),
                           [](const auto& a, const auto& b) { return a.first == b.first && a.second == b.second; }))
        << "round " << round;
  }
}

}  // namespace

namespace {

TEST_F(RegionMeshBuilderTest, TinyAndHugeZonesStillMesh) {
  // Sizes so small that the grid's cells would have no size, and so large
  // that its extent is infinite.
  std::vector<CubeZone> tiny = {CubeZone(0, Float3(0.f, 0.f, 0.f), Float3(1e-44f, 1e-44f, 1e-44f)),
                                CubeZone(0, Float3(1e-45f, 0.f, 0.f), Float3(1e-44f, 1e-44f, 1e-44f))};
  VBO tinyMesh;
  RegionMeshBuilder(tiny, 1.f).addAllZones(tinyMesh);
  EXPECT_FALSE(quadTextures(tinyMesh).empty());

  std::vector<CubeZone> huge = {CubeZone(0, Float3(-3e38f, 0.f, 0.f), Float3(3e38f, 1.f, 1.f)),
                                CubeZone(0, Float3(3e38f, 0.f, 0.f), Float3(3e38f, 1.f, 1.f)), unitZone(0, 0, 0, 0)};
  VBO hugeMesh;
  RegionMeshBuilder(huge, 1.f).addAllZones(hugeMesh);
  EXPECT_FALSE(quadTextures(hugeMesh).empty());
}

}  // namespace
