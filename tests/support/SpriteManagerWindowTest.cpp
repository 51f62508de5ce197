// Sprites through the one sprite manager: images shared by name and freed
// with their last sprite, hot spots, scaling, the drawn picture and the
// checks that end the program.

#include <gtest/gtest.h>

#include <GL/gl.h>

#include "support/DeviceManager.h"
#include "support/Image.h"
#include "support/SpriteManager.h"
#include "tests/common/ImageWriters.h"
#include "tests/common/TempDir.h"
#include "tests/common/TestWindow.h"

namespace {

const Color black(0, 0, 0, 255), white(255, 255, 255, 255), red(255, 0, 0, 255), green(0, 255, 0, 255),
    blue(0, 0, 255, 255);

// A w x h picture in four quadrants: red, green on top, blue, white below.
void writeQuadrants(const std::string& path, int w, int h) {
  ASSERT_TRUE(writePicture(path, w, h, true, [w, h](int x, int y) {
    if (y < h / 2) return x < w / 2 ? red : green;
    return x < w / 2 ? blue : white;
  }));
}

// A game folder holding the pictures the tests name, as the working directory.
class Sprites : public testing::Test {
 protected:
  void SetUp() override {
    resetTestWindow();
    manager = GLManager::spriteManager;
    ASSERT_NE(nullptr, manager);
    ASSERT_TRUE(writePicture(game.file("whiteTexture.png"), 8, 8, false, [](int, int) { return white; }));
    writeQuadrants(game.write("menus/menu_mouse.png", ""), 32, 32);
    writeQuadrants(game.file("quadrants.png"), 64, 32);
    writeQuadrants(game.file("wide.png"), 256, 128);
    inGame.reset(new WorkingDirectory(game.path()));
  }
  void TearDown() override {
    inGame.reset();
    EXPECT_TRUE(manager->sprites.empty()) << "every test releases its sprites";
    EXPECT_TRUE(manager->loadedImages.empty());
  }

  // What `body` prints on standard output.
  static std::string printed(const std::function<void()>& body) {
    testing::internal::CaptureStdout();
    body();
    return testing::internal::GetCapturedStdout();
  }

  SpriteManager* manager = nullptr;
  TempDir game;
  std::unique_ptr<WorkingDirectory> inGame;
};

TEST_F(Sprites, OneImagePerNameSharedUntilItsLastSpriteGoes) {
  const std::string name = "menus/menu_mouse.png";
  Sprite *first = nullptr, *second = nullptr;
  EXPECT_EQ("Loading image '" + name + "'\n", printed([&] {
              first = manager->createSprite(name, 1);
              second = manager->createSprite(name.c_str(), 1);
            }));
  ASSERT_NE(first, second);
  ASSERT_EQ(1u, first->images.size());
  EXPECT_EQ(first->images[0], second->images[0]);
  EXPECT_EQ(first->getTexture(), second->getTexture());
  EXPECT_EQ(2, manager->loadedImages.at(name).nbSpritesUsingThisImage);
  EXPECT_EQ((std::list<Sprite*>{first, second}), manager->sprites) << "in creation order";
  EXPECT_TRUE(manager->isLiveSprite(first));
  EXPECT_TRUE(manager->isLiveSprite(second));

  EXPECT_EQ("", printed([&] { manager->removeSprite(first); }));
  EXPECT_FALSE(manager->isLiveSprite(first));
  EXPECT_EQ(1, manager->loadedImages.at(name).nbSpritesUsingThisImage);
  EXPECT_EQ("", printed([&] { manager->removeSprite(first); })) << "a second removal finds nothing";
  EXPECT_EQ(1, manager->loadedImages.at(name).nbSpritesUsingThisImage) << "and leaves the count alone";
  ASSERT_TRUE(manager->isLiveSprite(second));

  const unsigned int texture = second->getTexture();
  EXPECT_EQ("Freeing image '" + name + "'\n", printed([&] { manager->removeSprite(second); }));
  EXPECT_TRUE(manager->loadedImages.empty());
  EXPECT_FALSE(glIsTexture(texture));
  EXPECT_EQ("", printed([&] { manager->removeSprite(second); }));

  // Once freed, the next sprite of that name loads the file again.
  Sprite* again = nullptr;
  EXPECT_EQ("Loading image '" + name + "'\n", printed([&] { again = manager->createSprite(name, 1); }));
  manager->removeSprite(again);
}

TEST_F(Sprites, HandlesNotMadeByTheManagerAreNotLive) {
  int notASprite = 0;
  EXPECT_FALSE(manager->isLiveSprite(nullptr));
  EXPECT_FALSE(manager->isLiveSprite(&notASprite));
  manager->removeSprite(nullptr);
  manager->removeSprite(reinterpret_cast<Sprite*>(&notASprite));  // never looked into
  Sprite* sprite = manager->createSprite("quadrants.png", 1);
  EXPECT_TRUE(manager->isLiveSprite(static_cast<const void*>(sprite)));
  EXPECT_FALSE(manager->isLiveSprite(reinterpret_cast<const char*>(sprite) + 1));
  manager->removeSprite(sprite);
}

TEST_F(Sprites, NoNameMeansThePlainWhitePicture) {
  Sprite* sprite = manager->createSprite(nullptr, 1);
  Sprite* named = manager->createSprite("whiteTexture.png", 1);
  EXPECT_EQ("whiteTexture.png", sprite->images[0]->filename);
  EXPECT_EQ(named->images[0], sprite->images[0]);
  start2DPicture();
  glColor4ub(255, 255, 0, 255);  // drawn in the current colour
  sprite->position = Int2(20, 30);
  sprite->draw();
  EXPECT_EQ(Color(255, 255, 0, 255), readPixel(20, 30));
  EXPECT_EQ(Color(255, 255, 0, 255), readPixel(27, 37));
  EXPECT_EQ(black, readPixel(28, 38));
  manager->removeSprite(sprite);
  manager->removeSprite(named);
}

TEST_F(Sprites, HotSpotFollowsTheAlignment) {
  const struct {
    int alignment;
    Int2 hotSpot;
  } cases[] = {{1, Int2(0, 0)}, {2, Int2(32, 16)}, {3, Int2(64, 32)}, {4, Int2(0, 16)}, {5, Int2(64, 16)}};
  for (const auto& c : cases) {
    Sprite* sprite = manager->createSprite("quadrants.png", c.alignment);
    EXPECT_EQ(c.hotSpot, sprite->hotSpot) << "alignment " << c.alignment;
    EXPECT_EQ(Int2(0, 0), sprite->position);
    EXPECT_EQ(1.0f, sprite->scaleX);
    EXPECT_EQ(1.0f, sprite->scaleY);
    EXPECT_EQ(0, sprite->currentImage);
    manager->removeSprite(sprite);
  }
}

TEST_F(Sprites, ACentredSpriteIsDrawnAroundItsAnchorFirstRowOnTop) {
  Sprite* sprite = manager->createSprite("quadrants.png", 2);
  start2DPicture();
  sprite->position = Int2(100, 100);
  sprite->draw();
  EXPECT_EQ(Int2(132, 116), sprite->corners[0]);
  EXPECT_EQ(Int2(68, 116), sprite->corners[1]);
  EXPECT_EQ(Int2(68, 84), sprite->corners[2]);
  EXPECT_EQ(Int2(132, 84), sprite->corners[3]);
  const struct {
    int x, y;
    Color colour;
  } pixels[] = {{68, 84, red},    {99, 99, red},     {100, 84, green},  {131, 99, green}, {68, 100, blue},
                {99, 115, blue},  {100, 100, white}, {131, 115, white}, {67, 84, black},  {68, 83, black},
                {132, 115, black}, {131, 116, black}};
  for (const auto& p : pixels) EXPECT_EQ(p.colour, readPixel(p.x, p.y)) << "at (" << p.x << ", " << p.y << ")";
  manager->removeSprite(sprite);
}

TEST_F(Sprites, TopLeftSpritesReachTheWindowsCornerPixels) {
  Sprite* sprite = manager->createSprite("menus/menu_mouse.png", 1);
  start2DPicture();
  sprite->position = Int2(0, 0);
  sprite->draw();
  sprite->position = Int2(799, 599);
  sprite->draw();
  EXPECT_EQ(red, readPixel(0, 0));
  EXPECT_EQ(red, readPixel(799, 599));
  EXPECT_EQ(black, readPixel(798, 599));
  EXPECT_EQ(black, readPixel(799, 598));
  manager->removeSprite(sprite);
}

TEST_F(Sprites, FitIntoScalesUniformlyToTheTighterSide) {
  Sprite* sprite = manager->createSprite("wide.png", 1);
  sprite->fitInto(800, 600);
  EXPECT_EQ(3.125f, sprite->scaleX);
  EXPECT_EQ(3.125f, sprite->scaleY);
  EXPECT_EQ(Int2(800, 400), sprite->getSize());
  sprite->fitInto(100, 300);  // now the width is the tighter side
  EXPECT_EQ(Int2(100, 50), sprite->getSize());
  sprite->scaleX = 0.3f;  // 76.8 and 38.4, truncated
  sprite->scaleY = 0.3f;
  EXPECT_EQ(Int2(76, 38), sprite->getSize());

  // Drawn at twice its size it covers twice the pixels.
  sprite->scaleX = sprite->scaleY = 0.5f;
  start2DPicture();
  sprite->position = Int2(10, 10);
  sprite->draw();
  EXPECT_EQ(red, readPixel(10, 10));
  EXPECT_EQ(white, readPixel(137, 73));
  EXPECT_EQ(black, readPixel(138, 73));
  EXPECT_EQ(black, readPixel(137, 74));
  manager->removeSprite(sprite);
}

// Checks that end the program, each run alone with a window of its own.
TEST(SpritesAlone, AnUnknownAlignmentIsFatal) {
  if (!runningAlone()) {
    ChildResult result = runTestAlone("SpritesAlone.AnUnknownAlignmentIsFatal");
    EXPECT_EQ(1, result.exitCode) << describe(result);
    EXPECT_NE(std::string::npos,
              result.err.find("\nMessage: Sprite::Sprite : unknown value of hotSpotAlignment\n"))
        << result.err;
    return;
  }
  ensureTestWindow();
  const std::string picture = testWindowDirectory() + "/quadrants.png";
  writeQuadrants(picture, 64, 32);
  GLManager::spriteManager->createSprite(picture, 6);
}

TEST(SpritesAlone, ASpriteLeftAtShutdownIsFatal) {
  if (!runningAlone()) {
    ChildResult result = runTestAlone("SpritesAlone.ASpriteLeftAtShutdownIsFatal");
    EXPECT_EQ(1, result.exitCode) << describe(result);
    EXPECT_NE(std::string::npos, result.err.find("\nCondition: sprites.size() == 0\n")) << result.err;
    return;
  }
  ensureTestWindow();
  const std::string picture = testWindowDirectory() + "/quadrants.png";
  writeQuadrants(picture, 64, 32);
  Sprite* kept = GLManager::spriteManager->createSprite(picture, 1);
  Sprite* released = GLManager::spriteManager->createSprite(picture, 1);
  GLManager::spriteManager->removeSprite(released);
  ASSERT_TRUE(GLManager::spriteManager->isLiveSprite(kept));
  DeviceManager::destroy();
}

TEST(SpritesAlone, ShutdownWithEverySpriteReleasedIsClean) {
  if (ranInOwnProcess()) return;
  ensureTestWindow();
  const std::string picture = testWindowDirectory() + "/quadrants.png";
  writeQuadrants(picture, 64, 32);
  GLManager::spriteManager->removeSprite(GLManager::spriteManager->createSprite(picture, 1));
  DeviceManager::destroy();
  EXPECT_EQ(nullptr, GLManager::spriteManager);
}

}  // namespace
