// The demo game's pictures (made by tools/make-demo-assets.sh): they decode,
// need no stretching, and hold what the engine will look for in them.

#include <gtest/gtest.h>

#include "support/ImageLoader.h"

namespace {

std::string demoFile(const std::string& name) { return std::string(CUBEWRIGHT_SOURCE_DIR) + "/game/" + name; }

PixelBlock loadDemoPicture(const std::string& name) {
  PixelBlock block = decodeImage(demoFile(name), false);
  EXPECT_FALSE(needsStretch(block.width, block.height)) << name << " would be stretched";
  return block;
}

bool columnIsEmpty(const PixelBlock& image, int x) {
  for (int y = 0; y < image.height; ++y)
    if (image.pixel(x, y)[3] != 0) return false;
  return true;
}

struct InkRun {
  int first, last;  // columns holding ink, inclusive
};

// The runs of non-empty columns, which the font's scan takes as glyphs "!"
// to "~" in order.
std::vector<InkRun> glyphRuns(const PixelBlock& image) {
  std::vector<InkRun> runs;
  for (int x = 0; x < image.width; ++x) {
    if (columnIsEmpty(image, x)) continue;
    if (runs.empty() || runs.back().last != x - 1) runs.push_back({x, x});
    runs.back().last = x;
  }
  return runs;
}

TEST(DemoAssets, FontHoldsExactly94GlyphRunsWithRoomAroundEach) {
  const PixelBlock font = loadDemoPicture("default_font.png");
  ASSERT_TRUE(font.isAlpha);
  const std::vector<InkRun> runs = glyphRuns(font);
  ASSERT_EQ(94u, runs.size());
  // A glyph's rectangle reaches from one column before its ink to three after
  // it: it must stay inside the picture and off the next glyph's ink.
  EXPECT_GE(runs.front().first - 1, 0);
  EXPECT_LT(runs.back().last + 3, font.width);
  for (size_t i = 1; i < runs.size(); ++i)
    EXPECT_GT(runs[i].first, runs[i - 1].last + 3) << "glyph " << char(33 + i) << " is too close to the previous one";

  auto width = [&](char c) { return runs[size_t(c - 33)].last - runs[size_t(c - 33)].first + 1; };
  EXPECT_LT(width('!'), width('W'));
  EXPECT_LT(width('l'), width('m'));
  EXPECT_LT(width('.'), width('@'));
  EXPECT_LT(width('|'), width('~'));
}

TEST(DemoAssets, PlainPictures) {
  const PixelBlock white = loadDemoPicture("whiteTexture.png");
  for (int y = 0; y < white.height; ++y)
    for (int x = 0; x < white.width; ++x)
      for (int k = 0; k < white.bytesPerPixel(); ++k) ASSERT_EQ(255, white.pixel(x, y)[k]);

  const PixelBlock shadow = loadDemoPicture("black_semi_transparent.png");
  ASSERT_TRUE(shadow.isAlpha);
  for (int y = 0; y < shadow.height; ++y)
    for (int x = 0; x < shadow.width; ++x) {
      const unsigned char* p = shadow.pixel(x, y);
      ASSERT_EQ(0, p[0] + p[1] + p[2]);
      ASSERT_EQ(128, p[3]);
    }

  // The pointer's tip is its top-left pixel, where the sprite is anchored.
  const PixelBlock pointer = loadDemoPicture("menus/menu_mouse.png");
  ASSERT_TRUE(pointer.isAlpha);
  EXPECT_GT(pointer.pixel(1, 1)[3], 128);
  EXPECT_EQ(0, pointer.pixel(pointer.width - 1, pointer.height - 1)[3]);

  const PixelBlock loading = loadDemoPicture("loading.png");
  EXPECT_GE(loading.width, 256);
}

struct Region {
  int x0, y0, x1, y1;  // the click region: x0 < x < x1, y0 < y < y1
};

// Every click region shows a button: (nearly) opaque inside, with light label pixels.
void expectButtons(const std::string& name, const std::vector<Region>& regions) {
  const PixelBlock menu = loadDemoPicture(name);
  ASSERT_TRUE(menu.isAlpha);
  for (const Region& r : regions) {
    ASSERT_LE(r.x1, menu.width);
    ASSERT_LE(r.y1, menu.height);
    int light = 0, seeThrough = 0;
    for (int y = r.y0 + 5; y < r.y1 - 5; ++y)
      for (int x = r.x0 + 5; x < r.x1 - 5; ++x) {
        const unsigned char* p = menu.pixel(x, y);
        if (p[3] < 200) ++seeThrough;
        if (p[0] > 200 && p[1] > 200 && p[2] > 200) ++light;
      }
    EXPECT_EQ(0, seeThrough) << name << ": the button at " << r.x0 << ", " << r.y0 << " is not opaque";
    EXPECT_GT(light, 20) << name << ": no label in the button at " << r.x0 << ", " << r.y0;
  }
}

TEST(DemoAssets, MenusShowAButtonInEveryClickRegion) {
  expectButtons("menus/main_menu.png", {{50, 150, 150, 215}, {50, 250, 150, 315}, {50, 350, 150, 415}});
  std::vector<Region> options = {{200, 10, 270, 50}};
  for (int row = 0; row < 2; ++row)
    for (int column = 0; column < 4; ++column)
      options.push_back({50 + 100 * column, 100 + 50 * row, 150 + 100 * column, 150 + 50 * row});
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < 2; ++column)
      options.push_back({250 + 100 * column, 250 + 50 * row, 350 + 100 * column, 300 + 50 * row});
  expectButtons("menus/options_menu.png", options);
}

}  // namespace
