// The bitmap font: glyphs found by scanning a generated picture with known
// ink columns, the pen arithmetic of drawing and measuring, pictures read
// back from the window, and the demo game's own font.

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <memory>

#include "support/Font.h"
#include "support/GLManager.h"
#include "support/Image.h"
#include "support/SpriteManager.h"
#include "tests/common/ImageWriters.h"
#include "tests/common/TempDir.h"
#include "tests/common/TestWindow.h"

namespace {

const Color black(0, 0, 0, 255), yellow(255, 255, 0, 255), red(255, 0, 0, 255);

struct InkRun {
  int first, last;  // columns holding ink, inclusive
};

// Ink widths of the generated font: "a" 6 columns (a glyph 10 wide), "b" 8
// (12), "c" 3 (7); the others 1 to 4. Gaps of 2 to 4 empty columns.
std::vector<InkRun> generatedLayout() {
  std::vector<InkRun> runs;
  int x = 5;
  for (int c = 33; c <= 126; ++c) {
    const int ink = c == 'a' ? 6 : c == 'b' ? 8 : c == 'c' ? 3 : 1 + c % 4;
    runs.push_back({x, x + ink - 1});
    x += ink + 2 + c % 3;
  }
  return runs;
}

// Writes a 1024 x 16 font picture with `runs` as its ink. Empty columns are
// red but fully transparent: only alpha counts. The glyph '"' has a single
// faint pixel of ink per column, in the bottom row.
void writeFontPicture(const std::string& path, const std::vector<InkRun>& runs, int width = 1024) {
  std::vector<int> owner(size_t(width), -1);
  for (size_t i = 0; i < runs.size(); ++i)
    for (int x = runs[i].first; x <= runs[i].last; ++x) owner[size_t(x)] = 33 + int(i);
  ASSERT_TRUE(writePicture(path, width, 16, true, [&](int x, int y) {
    const int c = owner[size_t(x)];
    if (c == -1) return Color(255, 0, 0, 0);
    if (c == '"') return Color(255, 255, 255, y == 15 ? 1 : 0);
    return Color(255, 255, 255, 255);
  }));
}

class Fonts : public testing::Test {
 protected:
  void SetUp() override {
    resetTestWindow();
    writeFontPicture(dir.file("font.png"), generatedLayout());
    font.reset(new Font(dir.file("font.png")));
  }

  TempDir dir;
  std::unique_ptr<Font> font;
};

TEST_F(Fonts, GlyphsReachFromOneColumnBeforeTheInkToThreeAfter) {
  const std::vector<InkRun> runs = generatedLayout();
  for (int c = 33; c <= 126; ++c) {
    const InkRun& run = runs[size_t(c - 33)];
    EXPECT_EQ(run.first - 1, font->glyphStart[c]) << "'" << char(c) << "'";
    EXPECT_EQ(run.last - run.first + 5, font->glyphWidth[c]) << "'" << char(c) << "'";
  }
  EXPECT_EQ(4, font->glyphStart['!']);
  EXPECT_EQ(10, font->glyphWidth['a']);
  EXPECT_EQ(12, font->glyphWidth['b']);
  EXPECT_EQ(7, font->glyphWidth['c']);
  for (int c : {0, 9, 10, 32, 127, 200, 255}) {
    EXPECT_EQ(-1, font->glyphStart[c]) << c;
    EXPECT_EQ(-1, font->glyphWidth[c]) << c;
  }
  EXPECT_EQ(16, font->spaceWidth);
  EXPECT_EQ(16, font->getHeight());
  EXPECT_EQ(nullptr, font->image->data) << "the pixels are freed after the scan";
}

TEST_F(Fonts, ThePenAdvancesByGlyphsBlanksAndLines) {
  start2DPicture();
  const struct {
    const char* text;
    float scaleX, scaleY;
    Int2 pen;
  } cases[] = {
      {"a b", 1, 1, Int2(10 + 38, 20)},          // 10 + 16 + 12
      {"", 1, 1, Int2(10, 20)},
      {"a\nb", 1, 1, Int2(10 + 12, 20 + 16)},    // back to the start column, one picture height lower
      {"ab\n\n", 1, 1, Int2(10, 20 + 32)},
      {"a\xE9\tb\x7F", 1, 1, Int2(10 + 22, 20)},  // bytes without a glyph do not move the pen
      {"c", 0.5f, 1, Int2(10 + 3, 20)},           // 3.5 truncated
      {"cc c", 0.5f, 2, Int2(10 + 3 + 3 + 8 + 3, 20)},
      {"c\nc", 0.5f, 2.5f, Int2(10 + 3, 20 + 40)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.pen, font->drawText(Float2(c.scaleX, c.scaleY), c.text, 10, 20))
        << "'" << c.text << "' at scale " << c.scaleX << ", " << c.scaleY;
}

TEST_F(Fonts, MeasuringAgreesWithDrawing) {
  const struct {
    const char* text;
    int length;
    float scale;
    int width;
  } cases[] = {
      {"ab\nc", -1, 1, 22},  {"c\nab", -1, 1, 22}, {"a b", -1, 1, 38}, {"ab\nc", 1, 1, 10},
      {"ab", 10, 1, 22},     // stops at the end of the text
      {"cc", -1, 0.5f, 6},   // each glyph truncated on its own: 3 + 3, not 7
      {" ", -1, 0.5f, 8},    {"\xE9\t", -1, 1, 0}, {"", -1, 1, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.width, font->getTextWidth(c.text, c.length, c.scale)) << "'" << c.text << "' length " << c.length;
  start2DPicture();
  for (const char* text : {"a b", "cc c", "!\"#$%&'()*+,-./"})
    for (float scale : {1.f, 0.5f, 0.7f, 1.3f})
      EXPECT_EQ(font->drawText(Float2(scale, 1.f), text, 0, 0).x(), font->getTextWidth(text, -1, scale))
          << "'" << text << "' at " << scale;
}

TEST_F(Fonts, HasCharForBlankLineBreakAndGlyphs) {
  for (int c = 33; c <= 126; ++c) EXPECT_TRUE(font->hasChar((unsigned char)c)) << c;
  EXPECT_TRUE(font->hasChar(' '));
  EXPECT_TRUE(font->hasChar('\n'));
  for (int c : {0, 9, 13, 127, 0xE9, 255}) EXPECT_FALSE(font->hasChar((unsigned char)c)) << c;
}

TEST_F(Fonts, TextIsDrawnWhereThePenIsWithOnlyItsInk) {
  const std::vector<InkRun> runs = generatedLayout();
  const int exclamationInk = runs[0].last - runs[0].first + 1;  // 1 + 33 % 4 = 2 columns
  start2DPicture();
  glColor4ub(255, 255, 0, 255);
  font->drawText(Float2(1, 1), "!a", 100, 200);
  // Each glyph's ink starts one column right of its pen position.
  const int aPen = 100 + font->glyphWidth['!'];
  const struct {
    int x, y;
    Color colour;
  } pixels[] = {{101, 200, yellow},
                {101 + exclamationInk - 1, 215, yellow},
                {100, 207, black},  // the column before the ink is transparent
                {101 + exclamationInk, 207, black},
                {101, 199, black},
                {101, 216, black},
                {aPen + 1, 200, yellow},
                {aPen + 6, 215, yellow},
                {aPen, 207, black},
                {aPen + 7, 207, black}};
  for (const auto& p : pixels) EXPECT_EQ(p.colour, readPixel(p.x, p.y)) << "at (" << p.x << ", " << p.y << ")";
}

TEST_F(Fonts, TextOverASpriteLeavesTheSpriteBetweenItsGlyphs) {
  ASSERT_TRUE(writePicture(dir.file("red.png"), 64, 32, false, [](int, int) { return red; }));
  Sprite* sprite = GLManager::spriteManager->createSprite(dir.file("red.png"), 1);
  start2DPicture();
  sprite->position = Int2(300, 300);
  sprite->draw();
  glColor4ub(255, 255, 0, 255);
  const Int2 pen = font->drawText(Float2(1, 1), "a a", 305, 310);
  EXPECT_EQ(Int2(305 + 10 + 16 + 10, 310), pen);
  EXPECT_EQ(red, readPixel(300, 300)) << "sprite's top-left corner";
  EXPECT_EQ(red, readPixel(363, 331)) << "sprite's bottom-right corner";
  EXPECT_EQ(black, readPixel(364, 331));
  EXPECT_EQ(yellow, readPixel(306, 310)) << "first a";
  EXPECT_EQ(red, readPixel(305, 310)) << "the glyph's empty column shows the sprite";
  EXPECT_EQ(red, readPixel(320, 315)) << "the blank shows the sprite";
  EXPECT_EQ(yellow, readPixel(305 + 26 + 1, 310)) << "second a";
  EXPECT_EQ(yellow, readPixel(305 + 26 + 6, 325)) << "bottom row of the second a";
  EXPECT_EQ(red, readPixel(305 + 26 + 6, 326)) << "below the text";
  GLManager::spriteManager->removeSprite(sprite);
}

TEST(FontPictures, FewerGlyphRunsLeaveTheLastCharactersWithoutGlyphs) {
  resetTestWindow();
  TempDir dir;
  // Ten runs of 2 columns in a 64-column picture: the first starts at the
  // left edge, the last ends at the right edge.
  std::vector<InkRun> runs;
  for (int i = 0; i < 9; ++i) runs.push_back({6 * i, 6 * i + 1});
  runs.push_back({62, 63});
  writeFontPicture(dir.file("short.png"), runs, 64);
  Font font(dir.file("short.png"));
  EXPECT_EQ(-1, font.glyphStart['!']);
  EXPECT_EQ(6, font.glyphWidth['!']);
  EXPECT_TRUE(font.hasChar('!')) << "a glyph starting before the picture's first column is still a glyph";
  EXPECT_EQ(61, font.glyphStart['*']);
  EXPECT_EQ(6, font.glyphWidth['*']) << "the picture's edge ends the run";
  for (int c = '+'; c <= '~'; ++c) {
    EXPECT_EQ(-1, font.glyphWidth[c]) << char(c);
    EXPECT_FALSE(font.hasChar((unsigned char)c)) << char(c);
  }
  EXPECT_EQ(6, font.getTextWidth("!+~", -1, 1));

  writeFontPicture(dir.file("empty.png"), {}, 64);
  Font empty(dir.file("empty.png"));
  for (int c = 0; c < 256; ++c) EXPECT_EQ(c == ' ' || c == '\n', empty.hasChar((unsigned char)c)) << c;
}

TEST(FontPictures, TheDemoFontHasAGlyphForEveryPrintableCharacter) {
  resetTestWindow();
  WorkingDirectory inGame(std::string(CUBEWRIGHT_SOURCE_DIR) + "/game");
  testing::internal::CaptureStdout();
  std::unique_ptr<Font> font(new Font());
  EXPECT_EQ("Loading image 'default_font.png'\n", testing::internal::GetCapturedStdout());
  EXPECT_EQ(32, font->getHeight());
  int previousEnd = 0;
  for (int c = 33; c <= 126; ++c) {
    EXPECT_TRUE(font->hasChar((unsigned char)c)) << char(c);
    EXPECT_GE(font->glyphStart[c], previousEnd) << char(c) << " follows the previous glyph";
    previousEnd = font->glyphStart[c] + font->glyphWidth[c] - 3;  // one past the last column of ink
  }
  EXPECT_LE(previousEnd + 3, font->image->width) << "the last glyph's rectangle stays inside the picture";
  EXPECT_LT(font->getTextWidth("i", -1, 1), font->getTextWidth("W", -1, 1));

  start2DPicture();
  font->drawText(Float2(1, 1), "Hello, World", 50, 50);
  int lit = 0;
  for (int y = 50; y < 82; ++y)
    for (int x = 50; x < 50 + font->getTextWidth("Hello, World", -1, 1); ++x) lit += readPixel(x, y) != black;
  EXPECT_GT(lit, 100);
  testing::internal::CaptureStdout();
  font.reset();
  EXPECT_EQ("Freeing image 'default_font.png'\n", testing::internal::GetCapturedStdout());
}

// Checks that end the program, each run alone with a window of its own.
TEST(FontAlone, APictureWithoutAlphaIsFatal) {
  if (!runningAlone()) {
    ChildResult result = runTestAlone("FontAlone.APictureWithoutAlphaIsFatal");
    EXPECT_EQ(1, result.exitCode) << describe(result);
    EXPECT_NE(std::string::npos, result.err.find("\nCondition: image->getIsAlpha()\n")) << result.err;
    return;
  }
  ensureTestWindow();
  const std::string picture = testWindowDirectory() + "/opaque_font.png";
  ASSERT_TRUE(writePicture(picture, 64, 16, false, [](int x, int) { return Color(255, 255, 255, x % 2 ? 255 : 0); }));
  Font font(picture);
}

TEST(FontAlone, DrawingNoTextIsFatal) {
  if (!runningAlone()) {
    ChildResult result = runTestAlone("FontAlone.DrawingNoTextIsFatal");
    EXPECT_EQ(1, result.exitCode) << describe(result);
    EXPECT_NE(std::string::npos, result.err.find("\nCondition: text != NULL\n")) << result.err;
    return;
  }
  ensureTestWindow();
  const std::string picture = testWindowDirectory() + "/font.png";
  writeFontPicture(picture, generatedLayout());
  Font font(picture);
  font.drawText(Float2(1, 1), nullptr, 0, 0);
}

}  // namespace
