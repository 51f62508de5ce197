// The skybox: six pictures through the sprite manager, drawn inside-out
// around the camera in the view of the last 3D apply.

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <memory>

#include "support/GLManager.h"
#include "support/Image.h"
#include "support/Scene3D.h"
#include "support/Skybox.h"
#include "support/SpriteManager.h"
#include "tests/common/ImageWriters.h"
#include "tests/common/TempDir.h"
#include "tests/common/TestWindow.h"

namespace {

const Color black(0, 0, 0, 255);
// One colour per face argument: top, bottom, front, back, left, right.
const Color faceColours[6] = {Color(255, 0, 0, 255),   Color(0, 255, 0, 255),   Color(0, 0, 255, 255),
                              Color(255, 255, 0, 255), Color(255, 0, 255, 255), Color(0, 255, 255, 255)};
const char* const faceNames[6] = {"top.png", "bottom.png", "front.png", "back.png", "left.png", "right.png"};

class Skyboxes : public testing::Test {
 protected:
  void SetUp() override {
    resetTestWindow();
    for (int face = 0; face < 6; ++face)
      ASSERT_TRUE(writePicture(dir.file(faceNames[face]), 4, 4, false, [face](int, int) { return faceColours[face]; }));
    scene = GLManager::scene3D;
    scene->fov = 90;
    scene->aspect = 800.f / 600.f;
    scene->lighting = false;
  }
  void TearDown() override {
    scene->fov = 110;
    scene->camera.position = Float3(0.f, 0.f, 0.f);
    scene->camera.setRotation(Float3(0.f, 0.f, 0.f));
    EXPECT_TRUE(GLManager::spriteManager->sprites.empty()) << "the skybox releases its sprites";
  }

  std::unique_ptr<Skybox> makeSkybox(float size) {
    return std::unique_ptr<Skybox>(new Skybox(dir.file("top.png"), dir.file("bottom.png"), dir.file("front.png"),
                                              dir.file("back.png"), dir.file("left.png"), dir.file("right.png"), size));
  }

  TempDir dir;
  Scene3D* scene = nullptr;
};

TEST_F(Skyboxes, MadeOfSixSpritesReleasedWithIt) {
  testing::internal::CaptureStdout();
  std::unique_ptr<Skybox> sky = makeSkybox(2999);
  const std::string loaded = testing::internal::GetCapturedStdout();
  EXPECT_EQ(Float3(2999.f, 2999.f, 2999.f), sky->size);
  for (int face = 0; face < 6; ++face) {
    EXPECT_TRUE(GLManager::spriteManager->isLiveSprite(sky->sprites[face])) << faceNames[face];
    EXPECT_EQ(dir.file(faceNames[face]), sky->sprites[face]->images[0]->filename);
    EXPECT_EQ(Int2(0, 0), sky->sprites[face]->hotSpot);
    EXPECT_EQ(sky->sprites[face]->getTexture(), sky->textures[face]);
    EXPECT_NE(std::string::npos, loaded.find("Loading image '" + dir.file(faceNames[face]) + "'\n"));
  }
  testing::internal::CaptureStdout();
  sky.reset();
  const std::string freed = testing::internal::GetCapturedStdout();
  for (const char* name : faceNames) EXPECT_NE(std::string::npos, freed.find("Freeing image '" + dir.file(name) + "'\n"));
}

TEST_F(Skyboxes, FacesSharingAPictureLoadItOnce) {
  testing::internal::CaptureStdout();
  Skybox sky(dir.file("top.png"), dir.file("top.png"), dir.file("top.png"), dir.file("top.png"), dir.file("top.png"),
             dir.file("top.png"), 100);
  EXPECT_EQ("Loading image '" + dir.file("top.png") + "'\n", testing::internal::GetCapturedStdout());
  EXPECT_EQ(6, GLManager::spriteManager->loadedImages.at(dir.file("top.png")).nbSpritesUsingThisImage);
}

// Which face argument fills the middle of the picture for each way the
// camera looks: each face is drawn on the side opposite its name.
TEST_F(Skyboxes, SeenFromInsideAroundTheCameraWherever) {
  std::unique_ptr<Skybox> sky = makeSkybox(100);
  const struct {
    float pitch, yaw;
    int face;
    const char* what;
  } views[] = {{0, 0, 2, "-z shows the front picture"},   {0, 180, 3, "+z shows the back picture"},
               {0, 90, 5, "-x shows the right picture"},  {0, -90, 4, "+x shows the left picture"},
               {-90, 0, 0, "down shows the top picture"}, {90, 0, 1, "up shows the bottom picture"}};
  // Far from the origin: a box left there would be out of sight.
  for (const Float3& eye : {Float3(0.f, 0.f, 0.f), Float3(5000.f, -700.f, 3000.f)}) {
    scene->camera.position = eye;
    for (const auto& view : views) {
      scene->camera.setRotation(Float3(view.pitch, view.yaw, 0.f));
      GLManager::clearScreen(black);
      scene->apply();
      glColor4ub(0, 0, 0, 100);  // the sky sets its own colour
      sky->draw();
      EXPECT_EQ(faceColours[view.face], readPixel(400, 300)) << view.what << " from " << eye;
      for (const Int2& corner : {Int2(0, 0), Int2(799, 0), Int2(0, 599), Int2(799, 599)})
        EXPECT_NE(black, readPixel(corner.x(), corner.y())) << "the sky fills the picture: " << view.what;
    }
  }
}

TEST_F(Skyboxes, DrawnInTheSavedViewLeavingTheMatrixAsItWas) {
  std::unique_ptr<Skybox> sky = makeSkybox(100);
  scene->camera.position = Float3(10.f, 20.f, 30.f);
  GLManager::clearScreen(black);
  scene->apply();
  // An object's own placement, still on the matrix when the sky is drawn.
  glTranslatef(0.f, 0.f, -10000.f);
  float before[16], after[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, before);
  sky->draw();
  glGetFloatv(GL_MODELVIEW_MATRIX, after);
  EXPECT_EQ(faceColours[2], readPixel(400, 300));
  for (int i = 0; i < 16; ++i) EXPECT_EQ(before[i], after[i]) << i;
  float colour[4];
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_EQ(1.f, colour[0] * colour[1] * colour[2] * colour[3]) << "opaque white";
}

}  // namespace
