// Cube type textures through the window's sprite manager: loaded on first
// use and shared by name, released when unused, swapped by a redefinition,
// drawn by a region's mesh, and all gone by shutdown.

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>

#include "WorldTestHelpers.h"
#include "src/world/IndexedWorld.h"
#include "src/world/RegionMeshBuilder.h"
#include "support/DeviceManager.h"
#include "support/Image.h"
#include "support/SpriteManager.h"
#include "support/VBO.h"
#include "support/XMLSimple.h"
#include "tests/common/ImageWriters.h"
#include "tests/common/TempDir.h"
#include "tests/common/TestWindow.h"

namespace {

// Face pictures and their darker copies for faces in full shadow.
struct Picture {
  const char* name;
  Color colour, shadowed;
};
const Picture pictures[] = {
    {"grass.png", Color(40, 200, 40, 255), Color(16, 80, 16, 255)},
    {"dirt.png", Color(140, 90, 40, 255), Color(56, 36, 16, 255)},
    {"side.png", Color(200, 200, 0, 255), Color(80, 80, 0, 255)},
    {"stone.png", Color(0, 0, 255, 255), Color(0, 0, 100, 255)},
    {"sand.png", Color(230, 210, 150, 255), Color(92, 84, 60, 255)},
};
const Color black(0, 0, 0, 255);

const CubeFaceNames grassNames = {"grass.png", "dirt.png", "side.png", "side.png", "side.png", "side.png"};
const CubeFaceNames stoneNames = {"stone.png", "stone.png", "stone.png", "stone.png", "stone.png", "stone.png"};

std::string loading(const std::string& file) { return "Loading image '" + file + "'\n"; }
std::string freeing(const std::string& file) { return "Freeing image '" + file + "'\n"; }
// The lines of the first load of a face picture and its shadowed copy.
std::string loadingFace(const std::string& name) {
  return loading("cube_textures/" + name) + loading("cube_shadowed_textures/" + name);
}
std::string freeingFace(const std::string& name) {
  return freeing("cube_textures/" + name) + freeing("cube_shadowed_textures/" + name);
}
const std::string freeLines[2] = {"Free unused texture for CubeType ...\n", " ... free unused texture done\n"};

// What `body` prints on standard output.
std::string printed(const std::function<void()>& body) {
  testing::internal::CaptureStdout();
  body();
  return testing::internal::GetCapturedStdout();
}

// The file a sprite shows.
std::string fileOf(const Sprite* sprite) { return sprite->images.at(0)->filename; }

bool loaded(const CubeType& type) {
  for (int face = 0; face < 6; ++face)
    if (type.textureFace[face] == nullptr || type.textureFaceShadowed[face] == nullptr) return false;
  return true;
}

bool unloaded(const CubeType& type) {
  for (int face = 0; face < 6; ++face)
    if (type.textureFace[face] != nullptr || type.textureFaceShadowed[face] != nullptr) return false;
  return type.textureIds.face[0] == 0 && type.textureIds.faceShadowed[5] == 0;
}

// A game folder with the face pictures and the shadow overlay, as the
// working directory of the window.
class CubeTextures : public testing::Test {
 protected:
  void SetUp() override {
    resetTestWindow();
    manager = GLManager::spriteManager;
    ASSERT_NE(nullptr, manager);
    for (const Picture& p : pictures) {
      writeSolid("cube_textures/" + std::string(p.name), p.colour);
      writeSolid("cube_shadowed_textures/" + std::string(p.name), p.shadowed);
    }
    writeSolid(cubeShadowTextureName, Color(0, 0, 0, 128));
    inGame.reset(new WorkingDirectory(game.path()));
  }
  void TearDown() override {
    inGame.reset();
    EXPECT_TRUE(manager->sprites.empty()) << "every cube type released its sprites";
    EXPECT_TRUE(manager->loadedImages.empty());
  }
  void writeSolid(const std::string& name, Color colour) {
    ASSERT_TRUE(writePicture(game.write(name, ""), 8, 8, colour.a != 255, [colour](int, int) { return colour; }));
  }
  int users(const std::string& file) const {
    auto entry = manager->loadedImages.find(file);
    return entry == manager->loadedImages.end() ? 0 : entry->second.nbSpritesUsingThisImage;
  }

  SpriteManager* manager = nullptr;
  TempDir game;
  std::unique_ptr<WorkingDirectory> inGame;
};

TEST_F(CubeTextures, FaceTexturesLoadOnFirstUseOnlyAndAreSharedByName) {
  std::unique_ptr<CubeType> grass, sand;
  // The shadow overlay comes with the type, once for all types.
  EXPECT_EQ(loading(cubeShadowTextureName),
            printed([&] { grass.reset(new CubeType(1, 1, 1, grassNames, true)); }));
  EXPECT_EQ("", printed([&] {
              sand.reset(new CubeType(1, 1, 1, {"sand.png", "dirt.png", "side.png", "side.png", "sand.png",
                                                "sand.png"}, true));
            }));
  ASSERT_NE(nullptr, grass->textureShadow);
  EXPECT_EQ(cubeShadowTextureName, fileOf(grass->textureShadow));
  EXPECT_EQ(grass->textureShadow->getTexture(), grass->textureIds.shadow);
  EXPECT_EQ(sand->textureIds.shadow, grass->textureIds.shadow);
  EXPECT_TRUE(unloaded(*grass));

  // First use: each face picture and its shadowed copy, one line per file.
  EXPECT_EQ(loadingFace("grass.png") + loadingFace("dirt.png") + loadingFace("side.png"),
            printed([&] { grass->texturesForMesh(); }));
  ASSERT_TRUE(loaded(*grass));
  for (int face = 0; face < 6; ++face) {
    EXPECT_EQ("cube_textures/" + grassNames[face], fileOf(grass->textureFace[face]));
    EXPECT_EQ("cube_shadowed_textures/" + grassNames[face], fileOf(grass->textureFaceShadowed[face]));
    EXPECT_EQ(grass->textureFace[face]->getTexture(), grass->textureIds.face[face]) << "face " << face;
    EXPECT_EQ(grass->textureFaceShadowed[face]->getTexture(), grass->textureIds.faceShadowed[face]);
    EXPECT_NE(grass->textureIds.face[face], grass->textureIds.faceShadowed[face]);
  }
  EXPECT_NE(grass->textureIds.face[0], grass->textureIds.face[1]);
  EXPECT_EQ(grass->textureIds.face[2], grass->textureIds.face[5]) << "one picture, one texture";

  // Later uses load nothing; another type loads only the pictures not loaded yet.
  const CubeTypeTextureIds before = grass->textureIds;
  EXPECT_EQ("", printed([&] {
              grass->texturesForMesh();
              grass->loadTextures();
            }));
  EXPECT_EQ(before.face[3], grass->textureIds.face[3]);
  EXPECT_EQ(loadingFace("sand.png"), printed([&] { sand->texturesForMesh(); }));
  EXPECT_EQ(grass->textureIds.face[1], sand->textureIds.face[1]);
  EXPECT_EQ(grass->textureIds.faceShadowed[2], sand->textureIds.faceShadowed[2]);
  EXPECT_EQ(4 + 2, users("cube_textures/side.png"));
  EXPECT_EQ(2, users(cubeShadowTextureName));

  // Destroying a type releases its sprites; the pictures the other still uses stay.
  EXPECT_EQ(freeLines[0] + freeingFace("grass.png") + freeLines[1], printed([&] { grass.reset(); }));
  EXPECT_EQ(2, users("cube_textures/side.png"));
  EXPECT_EQ(1, users(cubeShadowTextureName));
  // An image goes with its last sprite: dirt at face 1, side at face 3, sand at face 5.
  EXPECT_EQ(freeLines[0] + freeingFace("dirt.png") + freeingFace("side.png") + freeingFace("sand.png") +
                freeLines[1] + freeing(cubeShadowTextureName),
            printed([&] { sand.reset(); }));
}

TEST_F(CubeTextures, FreeUnusedTexturesFreesExactlyTheUnusedOnesAndAUsedTypeReloads) {
  CubeTypeManager types;
  testing::internal::CaptureStdout();
  types.addCubeType(grassNames, 1, 1, 1, true);                    // used
  types.addCubeType({"sand.png", "dirt.png", "side.png", "side.png", "side.png", "side.png"}, 1, 1, 1, true);
  types.addCubeType(stoneNames, 1, 1, 1, true);                    // previewed
  types.addCubeType(stoneNames, 1, 1, 1, false);                   // never loaded
  for (int id = 0; id < 3; ++id) types.getCubeType(id).texturesForMesh();
  testing::internal::GetCapturedStdout();

  types.markAllUnused();
  types.getCubeType(0);
  types[2].previewed = true;
  // Only the pictures no other type holds go; a type not loaded says nothing.
  EXPECT_EQ(freeLines[0] + freeingFace("sand.png") + freeLines[1], printed([&] { types.freeUnusedTextures(); }));
  EXPECT_TRUE(loaded(types[0]));
  EXPECT_TRUE(unloaded(types[1]));
  EXPECT_TRUE(loaded(types[2]));
  EXPECT_TRUE(unloaded(types[3]));
  EXPECT_EQ(4, users("cube_textures/side.png"));
  EXPECT_NE(nullptr, types[1].textureShadow) << "the overlay stays while the type exists";
  EXPECT_EQ("", printed([&] {
              types.freeUnusedTextures();
              types[3].freeTextures();
            })) << "types without textures print nothing";

  // Used again, the type loads its pictures again.
  EXPECT_EQ(loadingFace("sand.png"), printed([&] { types.getCubeType(1).texturesForMesh(); }));
  EXPECT_TRUE(loaded(types[1]));
  EXPECT_EQ(types[1].textureFace[0]->getTexture(), types[1].textureIds.face[0]);

  // Nothing used and nothing previewed: everything loaded goes, in id order.
  types.markAllUnused();
  types[2].previewed = false;
  EXPECT_EQ(freeLines[0] + freeingFace("grass.png") + freeLines[1] + freeLines[0] + freeingFace("sand.png") +
                freeingFace("dirt.png") + freeingFace("side.png") + freeLines[1] + freeLines[0] +
                freeingFace("stone.png") + freeLines[1],
            printed([&] { types.freeUnusedTextures(); }));
  EXPECT_EQ((std::vector<std::string>{cubeShadowTextureName}), [&] {
    std::vector<std::string> names;
    for (const auto& entry : manager->loadedImages) names.push_back(entry.first);
    return names;
  }());
  printed([&] { types.clearCubeTypes(); });
}

TEST_F(CubeTextures, RedefineReleasesAndLoadsTheNewPicturesAtOnce) {
  std::unique_ptr<CubeType> type;
  printed([&] {
    type.reset(new CubeType(1, 1, 1, grassNames, true));
    type->texturesForMesh();
  });
  // The overlay is released and loaded again; as the only type it goes and comes back.
  EXPECT_EQ(freeing(cubeShadowTextureName) + freeLines[0] + freeingFace("grass.png") + freeingFace("dirt.png") +
                freeingFace("side.png") + freeLines[1] + loading(cubeShadowTextureName) + loadingFace("stone.png"),
            printed([&] { type->redefine(0, 0, 0, stoneNames, false); }));
  ASSERT_TRUE(loaded(*type));
  for (int face = 0; face < 6; ++face) {
    EXPECT_EQ("cube_textures/stone.png", fileOf(type->textureFace[face]));
    EXPECT_EQ("cube_shadowed_textures/stone.png", fileOf(type->textureFaceShadowed[face]));
    EXPECT_EQ(type->textureFace[face]->getTexture(), type->textureIds.face[face]);
  }
  EXPECT_EQ(type->textureShadow->getTexture(), type->textureIds.shadow);
  EXPECT_EQ(0, users("cube_textures/side.png"));
  EXPECT_EQ(1, users(cubeShadowTextureName));

  // A type not loaded yet is loaded by its redefinition (the editor shows it).
  std::unique_ptr<CubeType> other;
  printed([&] { other.reset(new CubeType(1, 1, 1, stoneNames, true)); });
  EXPECT_EQ(loadingFace("side.png"),
            printed([&] { other->redefine(1, 1, 1, {"stone.png", "stone.png", "side.png", "side.png", "side.png",
                                                    "side.png"}, true); }));
  EXPECT_TRUE(loaded(*other));
  printed([&] {
    type.reset();
    other.reset();
  });
}

// A small world in the game folder: a grass zone, a stone zone with a shadow
// triangle over the lower left half of its front face, and a grass zone whose
// front face lies in full shadow, side by side along x.
void addZones(WorldIndexator& table) {
  CubeZone grass(0, Float3(1.f, 1.f, 1.f), Float3(2.f, 2.f, 2.f));
  CubeZone stone(1, Float3(4.f, 1.f, 1.f), Float3(2.f, 2.f, 2.f));
  stone.editShadowTriangles(SHADOW_FACE_FRONT) = {Float3(-1.f, -1.f, 1.f), Float3(1.f, -1.f, 1.f),
                                                  Float3(-1.f, 1.f, 1.f)};
  CubeZone shaded(0, Float3(7.f, 1.f, 1.f), Float3(2.f, 2.f, 2.f));
  shaded.faceFullyShadowed[SHADOW_FACE_FRONT] = true;
  for (const CubeZone& zone : {grass, stone, shaded}) ASSERT_TRUE(table.addCubeZone(zone));
}

void writeWorldFile(const std::string& path) {
  testing::internal::CaptureStdout();
  {
    CubeTypeManager types;
    WorldIndexator table(16.f, 1.f);
    types.addCubeType(grassNames, 1, 1, 1, true);
    types.addCubeType(stoneNames, 1, 1, 1, true);
    addZones(table);
    std::ofstream(path, std::ios::binary) << worldBytes(types, table);
  }
  testing::internal::GetCapturedStdout();
}

XMLSimple worldConfig() {
  XMLSimple config;
  config.doubles["size_one_cube"] = 1.0;
  config.ints["size_one_region"] = 16;
  return config;
}

// The colour at world point (x, y) of the picture drawn by drawFrontView.
Color colourAt(float x, float y) { return readPixel(int((x + 1.f) * 80.f), 600 - int((y + 2.75f) * 80.f)); }

// Looks down -z at the front faces, 80 pixels a unit, (-1, -2.75) at the
// bottom left; back faces culled, transparent pieces blended.
void drawFrontView(const VBO& vbo) {
  beginFlatPicture(-1, 9, -2.75, 4.75, -100, 100);
  vbo.draw();
  endFlatPicture();
}

void expectNear(const Color& expected, const Color& actual, const std::string& what) {
  bool near = std::abs(actual.r - expected.r) <= 3 && std::abs(actual.g - expected.g) <= 3 &&
              std::abs(actual.b - expected.b) <= 3;
  EXPECT_TRUE(near) << what << ": expected " << expected << ", got " << actual;
}

TEST_F(CubeTextures, AMeshFromAWorldFileDrawsEachZoneWithItsCubeTypesTextures) {
  ASSERT_TRUE(VBO::vboSupported);
  writeWorldFile(game.file("world.dat"));
  XMLSimple config = worldConfig();
  std::unique_ptr<IndexedWorld> world;
  EXPECT_NE(std::string::npos,
            printed([&] { world.reset(new IndexedWorld(config, nullptr, "world.dat", nullptr)); })
                .find(loading(cubeShadowTextureName)));
  ASSERT_EQ(2, cubeTypeManager->count());
  EXPECT_TRUE(unloaded((*cubeTypeManager)[0])) << "nothing is loaded before a mesh needs it";

  const WorldRegion* region = nullptr;
  for (const WorldRegion& r : worldIndexator->tableRegions)
    if (!r.cubeZones.empty()) region = &r;
  ASSERT_NE(nullptr, region);
  ASSERT_EQ(3u, region->cubeZones.size());
  VBO vbo;
  EXPECT_EQ(loadingFace("grass.png") + loadingFace("dirt.png") + loadingFace("side.png") + loadingFace("stone.png"),
            printed([&] { RegionMeshBuilder(region->cubeZones, world->sizeOneCube).addAllZones(vbo); }));
  vbo.build();
  drawFrontView(vbo);

  const Color side = pictures[2].colour, sideShadowed = pictures[2].shadowed, stone = pictures[3].colour;
  expectNear(side, colourAt(1.f, 1.f), "front face of the grass zone");
  expectNear(stone, colourAt(4.6f, 1.6f), "front face of the stone zone");
  expectNear(Color(0, 0, 127, 255), colourAt(3.4f, 0.4f), "the shadow overlay over the stone face");
  expectNear(sideShadowed, colourAt(7.f, 1.f), "front face in full shadow");
  expectNear(black, colourAt(2.5f, 1.f), "between the zones");
  EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
  printed([&] { world.reset(); });
}

// The whole run's order: the world goes before the window, and the sprite
// manager then finds every sprite released.
TEST(CubeTexturesAlone, ShutdownAfterTheWorldLeavesNoSprite) {
  if (ranInOwnProcess()) return;
  ensureTestWindow();
  TempDir game;
  for (const Picture& p : pictures) {
    ASSERT_TRUE(writePicture(game.write("cube_textures/" + std::string(p.name), ""), 4, 4, false,
                             [](int, int) { return black; }));
    ASSERT_TRUE(writePicture(game.write("cube_shadowed_textures/" + std::string(p.name), ""), 4, 4, false,
                             [](int, int) { return black; }));
  }
  ASSERT_TRUE(writePicture(game.file(cubeShadowTextureName), 4, 4, true, [](int, int) { return black; }));
  WorkingDirectory inGame(game.path());
  writeWorldFile("world.dat");
  XMLSimple config = worldConfig();
  testing::internal::CaptureStdout();
  {
    IndexedWorld world(config, nullptr, "world.dat", nullptr);
    for (const WorldRegion& region : worldIndexator->tableRegions) {
      VBO vbo;
      RegionMeshBuilder(region.cubeZones, world.sizeOneCube).addAllZones(vbo);
    }
    world.getCubeType(1).previewed = true;
    world.addCubeType(stoneNames, 1, 1, 1, true);  // a type that never loaded its faces
    ASSERT_TRUE(loaded((*cubeTypeManager)[0]));
    EXPECT_LT(0u, GLManager::spriteManager->sprites.size());
  }
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(0u, GLManager::spriteManager->sprites.size());
  DeviceManager::destroy();  // checks "sprites.size() == 0"
  EXPECT_EQ(nullptr, GLManager::spriteManager);
}

// Misuses that end the program, each run alone with a window of its own.
struct FatalCase {
  const char* condition;
  std::function<void(CubeType&, Sprite*)> misuse;
};
const FatalCase fatalCases[] = {
    {"textureFace[i] == NULL", [](CubeType& type, Sprite* stray) {
       type.textureFace[3] = stray;
       type.loadTextures();
     }},
    {"textureFaceShadowed[i] == NULL", [](CubeType& type, Sprite* stray) {
       type.textureFaceShadowed[0] = stray;
       type.loadTextures();
     }},
    {"textureFace[i] != NULL", [](CubeType& type, Sprite*) {
       type.loadTextures();
       type.textureFace[4] = nullptr;
       type.freeTextures();
     }},
    {"textureFaceShadowed[i] != NULL", [](CubeType& type, Sprite*) {
       type.loadTextures();
       type.textureFaceShadowed[5] = nullptr;
       type.freeTextures();
     }},
    {"textureShadow != NULL", [](CubeType& type, Sprite*) { type.textureShadow = nullptr; }},
};

class CubeTextureChecks : public CubeTextures, public testing::WithParamInterface<int> {};

TEST_P(CubeTextureChecks, EndTheProgramWithTheirCondition) {
  const FatalCase& fatal = fatalCases[GetParam()];
  if (!runningAlone()) {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    ChildResult result = runTestAlone(std::string(test->test_suite_name()) + "." + test->name());
    EXPECT_EQ(1, result.exitCode) << describe(result);
    EXPECT_NE(std::string::npos, result.err.find("\nCondition: " + std::string(fatal.condition) + "\n"))
        << result.err;
    return;
  }
  Sprite* stray = manager->createSprite(cubeShadowTextureName, 1);
  {
    CubeType type(1, 1, 1, grassNames, true);
    fatal.misuse(type, stray);
  }
  FAIL() << "the misuse did not end the program";
}

INSTANTIATE_TEST_SUITE_P(Misuses, CubeTextureChecks, testing::Range(0, int(std::size(fatalCases))));

}  // namespace
