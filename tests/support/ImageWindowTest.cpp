// Images: the power-of-two stretch with its progress lines, the texture made
// from the pixels, and the pixels kept beside it.

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <memory>

#include "support/GLManager.h"
#include "support/Image.h"
#include "tests/common/ImageWriters.h"
#include "tests/common/TempDir.h"
#include "tests/common/TestWindow.h"

namespace {

class Images : public testing::Test {
 protected:
  void SetUp() override { resetTestWindow(); }

  // A picture whose every pixel is different, so that a misplaced byte shows.
  std::string writeNumbered(const std::string& name, int width, int height, bool alpha) {
    const std::string path = dir.file(name);
    EXPECT_TRUE(writePicture(path, width, height, alpha, [](int x, int y) {
      return Color((unsigned char)(x * 7 + y), (unsigned char)(y * 11), (unsigned char)(x + y * 3), (unsigned char)(200 + x));
    }));
    return path;
  }

  TempDir dir;
};

TEST_F(Images, SidesBecomePowersOfTwoWithTheProgressLines) {
  const struct {
    int width, height;
    bool alpha;
    int stretchedWidth, stretchedHeight;
  } cases[] = {{100, 50, true, 128, 64},  {256, 256, false, 256, 256}, {300, 200, false, 512, 256},
               {1, 1, true, 2, 2},        {2, 2, false, 2, 2},         {64, 3, false, 64, 4}};
  for (const auto& c : cases) {
    const std::string path = writeNumbered("pic.png", c.width, c.height, c.alpha);
    const bool stretched = c.width != c.stretchedWidth || c.height != c.stretchedHeight;
    testing::internal::CaptureStdout();
    std::unique_ptr<Image> image(new Image(path, true));
    EXPECT_EQ("Loading image '" + path + "'\n" + "Loading image '" + path + "' ...(png)" +
                  (stretched ? " (image was streched) " : "") + "... done (width=" +
                  std::to_string(c.stretchedWidth) + " height=" + std::to_string(c.stretchedHeight) +
                  " isAlpha=" + (c.alpha ? "1" : "0") + ")\n",
              testing::internal::GetCapturedStdout());
    EXPECT_EQ(c.stretchedWidth, image->width) << c.width << " x " << c.height;
    EXPECT_EQ(c.stretchedHeight, image->height) << c.width << " x " << c.height;
    EXPECT_EQ(c.alpha, image->getIsAlpha());
    testing::internal::CaptureStdout();
    image.reset();
    EXPECT_EQ("Freeing image '" + path + "'\n", testing::internal::GetCapturedStdout());
  }
}

TEST_F(Images, WithoutProgressOnlyTheLoadingLineIsPrinted) {
  const std::string path = writeNumbered("quiet.png", 3, 3, false);
  testing::internal::CaptureStdout();
  Image image(path, false);
  EXPECT_EQ("Loading image '" + path + "'\n", testing::internal::GetCapturedStdout());
}

TEST_F(Images, StretchKeepsEveryRowWhole) {
  // Rows of 2 RGB pixels are 6 bytes: any row padding in or out of the
  // scaler would shift colours between rows and across them.
  const Color rowColours[3] = {Color(255, 0, 0, 255), Color(0, 255, 0, 255), Color(0, 0, 255, 255)};
  ASSERT_TRUE(writePicture(dir.file("rows.png"), 2, 3, false, [&](int, int y) { return rowColours[y]; }));
  PixelBlock block = Image::loadImage(dir.file("rows.png"), false);
  ASSERT_EQ(2, block.width);
  ASSERT_EQ(4, block.height);
  ASSERT_FALSE(block.isAlpha);
  for (int y = 0; y < 4; ++y)
    for (int k = 0; k < 3; ++k) EXPECT_EQ(int(block.pixel(0, y)[k]), int(block.pixel(1, y)[k])) << "row " << y << " is even";
  // GLU's scaler blends a little of the far rows in (it wraps around).
  EXPECT_GT(block.pixel(0, 0)[0], 200) << "red on top";
  EXPECT_GT(block.pixel(0, 3)[2], 200) << "blue at the bottom";
  EXPECT_EQ(0, block.pixel(0, 0)[1] + block.pixel(0, 3)[1]);
  EXPECT_GT(block.pixel(0, 1)[1] + block.pixel(0, 2)[1], 300) << "green in the middle rows";
}

// Reads one mipmap level of the bound texture back, rows without padding.
std::vector<unsigned char> textureLevel(int level, bool alpha, int width, int height) {
  std::vector<unsigned char> bytes(size_t(width * height * (alpha ? 4 : 3)));
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, level, alpha ? GL_RGBA : GL_RGB, GL_UNSIGNED_BYTE, bytes.data());
  return bytes;
}

TEST_F(Images, TextureHoldsThePixelsWithEveryMipmapLevel) {
  for (bool alpha : {false, true}) {
    // 2 RGB pixels make 6-byte rows, which the texture must not take as
    // padded, whatever the unpacking state was before.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    Image image(writeNumbered("tex.png", 2, 8, alpha), false);
    GLint bound = 0, minFilter = 0, magFilter = 0, wrapS = 0, wrapT = 0, format = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(GLint(image.textureId), bound) << "the new texture stays bound";
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    EXPECT_EQ(GL_LINEAR_MIPMAP_NEAREST, minFilter);
    EXPECT_EQ(GL_LINEAR, magFilter);
    EXPECT_EQ(GL_REPEAT, wrapS);
    EXPECT_EQ(GL_REPEAT, wrapT);
    EXPECT_EQ(alpha ? GL_RGBA : GL_RGB, format);

    ASSERT_NE(nullptr, image.data) << "the pixels stay with the image";
    const std::vector<unsigned char> pixels(image.data.get(), image.data.get() + 2 * 8 * (alpha ? 4 : 3));
    EXPECT_EQ(pixels, textureLevel(0, alpha, 2, 8));
    EXPECT_EQ(11, int(image.data[2 * (alpha ? 4 : 3) + 1])) << "green of the file's second row, second in memory";
    // 2 x 8, 1 x 4, 1 x 2, 1 x 1.
    GLint width = 0, height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 3, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 3, GL_TEXTURE_HEIGHT, &height);
    EXPECT_EQ(1, width);
    EXPECT_EQ(1, height);
  }
}

TEST_F(Images, TwoImagesOfOneFileHaveTwoTexturesEachDeletedWithItsImage) {
  const std::string path = writeNumbered("twice.png", 4, 4, true);
  std::unique_ptr<Image> first(new Image(path, false)), second(new Image(path, false));
  const unsigned int firstTexture = first->textureId;
  EXPECT_NE(firstTexture, second->textureId);
  first.reset();
  EXPECT_FALSE(glIsTexture(firstTexture));
  EXPECT_TRUE(glIsTexture(second->textureId));
}

TEST_F(Images, FreeingThePixelsKeepsTheTexture) {
  Image image(writeNumbered("font.png", 8, 4, true), false);
  image.freeData();
  EXPECT_EQ(nullptr, image.data);
  EXPECT_EQ(8, image.width);
  EXPECT_EQ(4, image.height);
  EXPECT_TRUE(image.getIsAlpha());
  EXPECT_TRUE(glIsTexture(image.textureId));
}

TEST(ImagesAlone, AFailedMipmapBuildIsFatal) {
  if (!runningAlone()) {
    ChildResult result = runTestAlone("ImagesAlone.AFailedMipmapBuildIsFatal");
    EXPECT_EQ(1, result.exitCode) << describe(result);
    EXPECT_NE(std::string::npos, result.err.find("\nCondition: mipmapres == 0\n")) << result.err;
    return;
  }
  ensureTestWindow();
  const unsigned char pixel[3] = {1, 2, 3};
  GLManager::createTexture(pixel, 0, 1, false);  // GLU refuses a side of 0
}

}  // namespace
