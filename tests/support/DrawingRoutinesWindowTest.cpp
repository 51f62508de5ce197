#include <gtest/gtest.h>

#include <GL/gl.h>

#include "support/DrawingRoutines.h"
#include "support/GLManager.h"
#include "support/Scene2D.h"
#include "support/Scene3D.h"
#include "tests/common/TestWindow.h"

namespace {

static_assert(sizeof(Color) == 4, "textures are uploaded from Color arrays");

const Color black(0, 0, 0, 255), white(255, 255, 255, 255), red(255, 0, 0, 255), green(0, 255, 0, 255),
    blue(0, 0, 255, 255);

struct PixelExpectation {
  int x, y;
  Color colour;
};

void expectPixels(const std::vector<PixelExpectation>& expected, const std::string& what) {
  for (const PixelExpectation& p : expected)
    EXPECT_EQ(p.colour, readPixel(p.x, p.y)) << what << " at (" << p.x << ", " << p.y << ")";
}

bool isLit(const Color& c) { return c.r > 60 || c.g > 60 || c.b > 60; }

// The 2D drawing state the engine sets before drawing sprites and text:
// the 2D routines wind clockwise on screen, so front faces are culled.
class Drawing2D : public testing::Test {
 protected:
  void SetUp() override {
    resetTestWindow();
    start2DPicture();
  }
};

TEST_F(Drawing2D, FilledRectCoversExactlyItsPixels) {
  glColor3f(0, 1, 0);
  drawRect(Int2(10, 20), Int2(30, 40), true);
  drawRect(Int2(0, 0), Int2(1, 1), true);
  drawRect(Int2(799, 599), Int2(800, 600), true);
  expectPixels({{10, 20, green}, {29, 20, green}, {10, 39, green}, {29, 39, green},  // inside
                {9, 20, black}, {30, 20, black}, {10, 19, black}, {10, 40, black},   // just outside
                {0, 0, green}, {1, 0, black}, {0, 1, black},                         // top-left pixel
                {799, 599, green}, {798, 599, black}, {799, 598, black}},            // bottom-right pixel
               "filled rect");
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D)) << "drawRect leaves texturing off";
}

TEST_F(Drawing2D, TheRoutinesWindClockwiseOnScreen) {
  // With the window's own state (back faces culled) a 2D quad is not drawn.
  glCullFace(GL_BACK);
  drawRect(Int2(10, 10), Int2(50, 50), true);
  EXPECT_EQ(black, readPixel(30, 30));
  glCullFace(GL_FRONT);
  drawRect(Int2(10, 10), Int2(50, 50), true);
  EXPECT_EQ(white, readPixel(30, 30));
}

TEST_F(Drawing2D, OutlineRectDrawsOnlyTheBorder) {
  drawRect(Int2(100, 100), Int2(150, 130), false);
  // A line on a pixel border lights the pixels on either side of it.
  EXPECT_TRUE(isLit(readPixel(125, 99)) || isLit(readPixel(125, 100))) << "top edge";
  EXPECT_TRUE(isLit(readPixel(125, 129)) || isLit(readPixel(125, 130))) << "bottom edge";
  EXPECT_TRUE(isLit(readPixel(99, 115)) || isLit(readPixel(100, 115))) << "left edge";
  EXPECT_TRUE(isLit(readPixel(149, 115)) || isLit(readPixel(150, 115))) << "right edge";
  EXPECT_EQ(black, readPixel(125, 115)) << "inside";
  EXPECT_EQ(black, readPixel(125, 95)) << "outside";
}

TEST_F(Drawing2D, QuadShowsTheTextureUprightAndFlips) {
  // A 64 x 64 sprite at (100, 100): the texture's first row is at the top.
  const Int2 corners[4] = {Int2(164, 164), Int2(100, 164), Int2(100, 100), Int2(164, 100)};
  const struct {
    bool flipX, flipY;
    Color topLeft, topRight, bottomLeft, bottomRight;
  } cases[] = {{false, false, red, green, blue, white},
               {true, false, green, red, white, blue},
               {false, true, blue, white, red, green},
               {true, true, white, blue, green, red}};
  for (const auto& c : cases) {
    GLManager::clearScreen(black);
    drawQuad(corners, quadrantTexture(), c.flipX, c.flipY);
    std::string what = std::string("flipX ") + (c.flipX ? "on" : "off") + ", flipY " + (c.flipY ? "on" : "off");
    expectPixels({{100, 100, c.topLeft}, {131, 131, c.topLeft}, {132, 100, c.topRight}, {163, 131, c.topRight},
                  {100, 132, c.bottomLeft}, {131, 163, c.bottomLeft}, {132, 132, c.bottomRight},
                  {163, 163, c.bottomRight}, {99, 100, black}, {164, 100, black}, {100, 99, black},
                  {100, 164, black}},
                 what);
  }
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_F(Drawing2D, TexturedRectShowsItsTextureWindow) {
  drawTexturedRect(quadrantTexture(), 200, 100, 0.5f, 0.f, 1.f, 0.5f, 40, 30);  // the green texel
  drawTexturedRect(quadrantTexture(), 300, 100, 0.f, 0.f, 1.f, 1.f, 40, 30);    // the whole texture
  expectPixels({{200, 100, green}, {239, 129, green}, {240, 100, black}, {200, 130, black}, {199, 100, black},
                {300, 100, red}, {339, 100, green}, {300, 129, blue}, {339, 129, white}},
               "textured rect");
}

TEST_F(Drawing2D, BitmapTextStandsOnItsBaselineAndAdvances) {
  glEnable(GL_TEXTURE_2D);
  drawBitmapText("HH", 300, 300);
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  auto litIn = [](int x0, int y0, int x1, int y1) {
    int lit = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) lit += isLit(readPixel(x, y));
    return lit;
  };
  // Each 8 x 13 cell rises from the baseline at y = 300.
  EXPECT_GT(litIn(300, 287, 308, 301), 10) << "first letter";
  EXPECT_GT(litIn(308, 287, 316, 301), 10) << "second letter, one cell to the right";
  EXPECT_EQ(0, litIn(290, 280, 300, 310) + litIn(316, 280, 330, 310) + litIn(300, 301, 316, 310))
      << "nothing outside the two cells";
}

// 3D routines, seen through the 3D view with a 90 degree field of view from
// 300 units away: one unit at distance 300 is one pixel, and the world
// origin is at the centre of the window, between pixels 399 and 400.
class Drawing3D : public testing::Test {
 protected:
  void SetUp() override {
    resetTestWindow();
    scene = GLManager::scene3D;
    scene->fov = 90;
    scene->aspect = 800.f / 600.f;
    scene->lighting = false;
    scene->camera.setRotation(Float3(0.f, 0.f, 0.f));
    scene->camera.position = Float3(0.f, 0.f, 300.f);
    GLManager::clearScreen(black);
    glColor4f(1, 1, 1, 1);
  }
  void TearDown() override {
    scene->fov = 110;
    scene->camera = Camera();
  }
  Scene3D* scene = nullptr;
};

TEST_F(Drawing3D, TexturedBoxFrontFaceFillsExactlyItsProjection) {
  scene->apply();
  const unsigned int textures[6] = {quadrantTexture(), quadrantTexture(), quadrantTexture(),
                                    quadrantTexture(), quadrantTexture(), quadrantTexture()};
  glTranslatef(0, 0, -1);  // the front face in the plane z = 0
  drawBox(textures, Float3(64.f, 64.f, 2.f), Float3(1.f, 1.f, 1.f), false);
  // Only the front face faces the camera; it spans 368..431 on both axes
  // around the centre (400, 300), texture upright.
  expectPixels({{368, 268, red}, {399, 299, red}, {400, 268, green}, {431, 299, green},
                {368, 300, blue}, {399, 331, blue}, {400, 300, white}, {431, 331, white},
                {367, 300, black}, {432, 300, black}, {400, 267, black}, {400, 332, black}},
               "front face");
}

TEST_F(Drawing3D, InsideOutBoxIsSeenFromInsideAndAPlainOneIsNot) {
  const Color faceColours[6] = {Color(255, 0, 0, 255), Color(0, 255, 0, 255),   Color(0, 0, 255, 255),
                                Color(255, 255, 0, 255), Color(0, 255, 255, 255), Color(255, 0, 255, 255)};
  unsigned int textures[6];
  for (int i = 0; i < 6; ++i) textures[i] = makeTexture(1, 1, {faceColours[i]});
  // Looking from the centre: which face fills the middle of the picture.
  const struct {
    float pitch, yaw;
    int face;  // top, bottom, front, back, left, right
    const char* what;
  } views[] = {{0, 0, 2, "-z shows the front face"},   {0, 180, 3, "+z shows the back face"},
               {0, 90, 5, "-x shows the right face"},  {0, -90, 4, "+x shows the left face"},
               {-90, 0, 0, "down shows the top face"}, {90, 0, 1, "up shows the bottom face"}};
  scene->camera.position = Float3(0.f, 0.f, 0.f);
  for (const auto& view : views) {
    scene->camera.setRotation(Float3(view.pitch, view.yaw, 0.f));
    GLManager::clearScreen(black);
    scene->apply();
    drawBox(textures, Float3(20.f, 20.f, 20.f), Float3(1.f, 1.f, 1.f), true);
    EXPECT_EQ(faceColours[view.face], readPixel(400, 300)) << view.what;

    GLManager::clearScreen(black);
    drawBox(textures, Float3(20.f, 20.f, 20.f), Float3(1.f, 1.f, 1.f), false);
    EXPECT_EQ(black, readPixel(400, 300)) << "a plain box is culled from inside: " << view.what;
  }
  glDeleteTextures(6, textures);

  // Seen from inside, the front face is upright and the top face (under
  // the camera) turned half round; the face fills the 600 x 600 middle.
  const unsigned int quadrants[6] = {quadrantTexture(), quadrantTexture(), quadrantTexture(),
                                     quadrantTexture(), quadrantTexture(), quadrantTexture()};
  const struct {
    float pitch;
    Color topLeft, topRight, bottomLeft, bottomRight;
    const char* what;
  } orientations[] = {{0, red, green, blue, white, "front face"}, {-90, white, blue, green, red, "top face"}};
  for (const auto& view : orientations) {
    scene->camera.setRotation(Float3(view.pitch, 0.f, 0.f));
    GLManager::clearScreen(black);
    scene->apply();
    drawBox(quadrants, Float3(20.f, 20.f, 20.f), Float3(1.f, 1.f, 1.f), true);
    expectPixels({{250, 150, view.topLeft}, {550, 150, view.topRight}, {250, 450, view.bottomLeft},
                  {550, 450, view.bottomRight}},
                 view.what);
  }
}

TEST_F(Drawing3D, WireBoxDrawsEdgesOnlyAndRestoresTheState) {
  // Size (2, 4, 6): the front face at z = 3 is 30 units away, ten pixels a
  // unit; the back face at z = -3 is 36 away, 8.3 pixels a unit. Lines may
  // land a pixel either way of their exact place, so each edge is looked for
  // within one pixel.
  scene->camera.position = Float3(-0.025f, -0.025f, 33.f);
  scene->apply();
  drawBox(nullptr, Float3(2.f, 4.f, 6.f), Float3(1.f, 1.f, 1.f), false);
  auto litNear = [](int x, int y, bool alongX) {
    for (int d = -1; d <= 1; ++d)
      if (isLit(alongX ? readPixel(x + d, y) : readPixel(x, y + d))) return true;
    return false;
  };
  for (int y : {285, 299, 314}) {
    EXPECT_TRUE(litNear(390, y, true)) << "left edge of the front face, y " << y;
    EXPECT_TRUE(litNear(410, y, true)) << "right edge of the front face, y " << y;
  }
  EXPECT_TRUE(litNear(400, 279, false)) << "top edge of the front face";
  EXPECT_TRUE(litNear(400, 319, false)) << "bottom edge of the front face";
  EXPECT_TRUE(litNear(400, 283, false)) << "top edge of the back face";
  EXPECT_TRUE(litNear(400, 316, false)) << "bottom edge of the back face";
  for (int x : {386, 396, 400, 404, 414})
    EXPECT_EQ(black, readPixel(x, 299)) << "a wire box is hollow and ends at its edges, x " << x;
  for (int y : {275, 290, 310, 324})
    EXPECT_EQ(black, readPixel(400, y)) << "a wire box is hollow and ends at its edges, y " << y;

  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
  GLint modes[2];
  glGetIntegerv(GL_POLYGON_MODE, modes);
  EXPECT_EQ(GL_FILL, modes[0]);
  EXPECT_EQ(GL_LINE, modes[1]);
}

TEST_F(Drawing3D, HorizontalAndCornerQuadsFaceTheirWay) {
  // Looking straight down from 300 units above: world -z is up on the
  // screen. Size 64 x 32 spans x 368..431 and y 284..315.
  scene->camera.position = Float3(0.f, 300.f, 0.f);
  scene->camera.setRotation(Float3(-90.f, 0.f, 0.f));
  const std::vector<PixelExpectation> upright = {
      {368, 284, white}, {431, 284, blue}, {368, 315, green}, {431, 315, red},
      {367, 300, black}, {432, 300, black}, {400, 283, black}, {400, 316, black}};
  scene->apply();
  glBindTexture(GL_TEXTURE_2D, quadrantTexture());
  drawHorizontalQuad(Float2(64.f, 32.f), -1, Float2(1.f, 1.f), false);  // -1: the bound texture
  expectPixels(upright, "upward quad from above");

  GLManager::clearScreen(black);
  drawHorizontalQuad(Float2(64.f, 32.f), int(quadrantTexture()), Float2(1.f, 1.f), true);
  EXPECT_EQ(black, readPixel(400, 300)) << "a downward quad is culled from above";

  GLManager::clearScreen(black);
  const Float3 corners[4] = {Float3(-32.f, 0.f, -16.f), Float3(-32.f, 0.f, 16.f), Float3(32.f, 0.f, 16.f),
                             Float3(32.f, 0.f, -16.f)};
  drawCornerQuad(int(quadrantTexture()), corners, Float2(1.f, 1.f));
  expectPixels(upright, "corner quad");
  GLfloat normal[3];
  glGetFloatv(GL_CURRENT_NORMAL, normal);
  EXPECT_EQ(-1.f, normal[1]) << "the corner quad's normal points down";

  // From below, the downward quad shows, mirrored left to right.
  scene->camera.position = Float3(0.f, -300.f, 0.f);
  scene->camera.setRotation(Float3(90.f, 0.f, 0.f));
  scene->apply();
  GLManager::clearScreen(black);
  drawHorizontalQuad(Float2(64.f, 32.f), int(quadrantTexture()), Float2(1.f, 1.f), true);
  // Looking up, world +z is up on the screen and +x to the right.
  expectPixels({{368, 284, green}, {431, 284, red}, {368, 315, white}, {431, 315, blue}}, "downward quad from below");
}

TEST(RotateXYZ, TurnsAboutXThenYThenZ) {
  resetTestWindow();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  rotateXYZ(90, 90, 0);
  GLfloat m[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  // M = Rx(90) Ry(90): the x axis goes to -z under Ry, then to +y under Rx.
  EXPECT_NEAR(0, m[0], 1e-6);
  EXPECT_NEAR(1, m[1], 1e-6);
  EXPECT_NEAR(0, m[2], 1e-6);
  glLoadIdentity();
  rotateXYZ(0, 0, 90);
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  EXPECT_NEAR(1, m[1], 1e-6) << "z turns x towards y";
  glLoadIdentity();
}

}  // namespace
