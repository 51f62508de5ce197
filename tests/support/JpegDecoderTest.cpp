#include <gtest/gtest.h>

#include <cstdlib>

#include "support/JpegDecoder.h"
#include "tests/common/DecodeHelpers.h"
#include "tests/common/ImageWriters.h"
#include "tests/common/TempDir.h"

namespace {

using Bytes = std::vector<unsigned char>;

const char* const jpegFailure = "loadJpeg : cannot load jpeg file";

// 16 x 16: the top 8 rows red, the bottom 8 rows blue.
std::string redOverBlue() {
  Bytes pixels;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) pixels.insert(pixels.end(), {uint8_t(y < 8 ? 250 : 0), 0, uint8_t(y < 8 ? 0 : 250)});
  TempDir dir;
  EXPECT_TRUE(writeJpeg(dir.file("p.jpg"), 16, 16, 3, pixels));
  return readFile(dir.file("p.jpg"));
}

// Quality 100 keeps flat colours within a few levels.
void expectNear(const Bytes& expected, const unsigned char* actual, const std::string& where) {
  for (size_t i = 0; i < expected.size(); ++i)
    EXPECT_LE(std::abs(int(expected[i]) - int(actual[i])), 4) << where << " channel " << i;
}

TEST(JpegDecoder, RowsComeBottomFirstAndNeverWithAlpha) {
  DecodedImage result = decodeBytes(loadJpeg, redOverBlue());
  ASSERT_TRUE(result.ok()) << result.detail;
  EXPECT_EQ(16, result.pixels.width);
  EXPECT_EQ(16, result.pixels.height);
  EXPECT_FALSE(result.pixels.isAlpha);
  expectNear({0, 0, 250}, result.pixels.pixel(3, 0), "row 0 holds the last scanline");
  expectNear({0, 0, 250}, result.pixels.pixel(12, 5), "row 5");  // colour is blurred near the border
  expectNear({250, 0, 0}, result.pixels.pixel(3, 10), "row 10");
  expectNear({250, 0, 0}, result.pixels.pixel(12, 15), "row 15 holds the first scanline");
}

TEST(JpegDecoder, GreyPictureBecomesRgb) {
  Bytes grey;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) grey.push_back(uint8_t(y < 4 ? 40 : 200));
  TempDir dir;
  ASSERT_TRUE(writeJpeg(dir.file("g.jpg"), 8, 8, 1, grey));
  DecodedImage result = decodeFile(loadJpeg, dir.file("g.jpg"));
  ASSERT_TRUE(result.ok()) << result.detail;
  EXPECT_FALSE(result.pixels.isAlpha);
  expectNear({200, 200, 200}, result.pixels.pixel(1, 0), "bottom scanline first");
  expectNear({40, 40, 40}, result.pixels.pixel(6, 7), "top scanline last");
  const unsigned char* p = result.pixels.pixel(5, 5);
  EXPECT_TRUE(p[0] == p[1] && p[1] == p[2]);
}

TEST(JpegDecoder, PrintsItsTwoLinesAlwaysAndItsTagWhenVerbose) {
  const std::string bytes = redOverBlue();
  testing::internal::CaptureStdout();
  decodeBytes(loadJpeg, bytes, false);
  EXPECT_EQ("chmu1\nchmu2\n", testing::internal::GetCapturedStdout());
  testing::internal::CaptureStdout();
  decodeBytes(loadJpeg, bytes, true);
  EXPECT_EQ("(jpeg)chmu1\nchmu2\n", testing::internal::GetCapturedStdout());
}

// Rewrites the sides in the frame header (the SOF0 marker).
std::string withSides(std::string jpeg, int width, int height) {
  const size_t sof = jpeg.find("\xFF\xC0");
  EXPECT_NE(std::string::npos, sof);
  jpeg[sof + 5] = char(height >> 8);
  jpeg[sof + 6] = char(height & 255);
  jpeg[sof + 7] = char(width >> 8);
  jpeg[sof + 8] = char(width & 255);
  return jpeg;
}

TEST(JpegDecoder, RejectedFilesFailWithLibjpegsMessage) {
  const std::string good = redOverBlue();
  struct Case {
    const char* name;
    std::string bytes;
    std::string detail;
  } cases[] = {
      {"not a JPEG", "\x89PNG and so on", "Not a JPEG file: starts with 0x89 0x50"},
      {"empty", "", "Empty input file"},
      {"cut in the header", good.substr(0, 40), "Premature end of JPEG file"},
      {"cut in the data", good.substr(0, good.size() - 200), "Premature end of JPEG file"},
      {"wider than the limit", withSides(good, 16385, 16), "image size 16385 x 16 exceeds 16384 pixels per side"},
      {"taller than the limit", withSides(good, 16, 60000), "image size 16 x 60000 exceeds 16384 pixels per side"},
  };
  for (const Case& c : cases) {
    testing::internal::CaptureStdout();
    DecodedImage result = decodeBytes(loadJpeg, c.bytes);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(jpegFailure, result.failure) << c.name;
    EXPECT_EQ(c.detail, result.detail) << c.name;
  }
}

}  // namespace
