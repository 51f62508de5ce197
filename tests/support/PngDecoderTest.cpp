#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/resource.h>
#include <zlib.h>

#include <algorithm>

#include "support/PngDecoder.h"
#include "tests/common/ChildProcess.h"
#include "tests/common/DecodeHelpers.h"
#include "tests/common/ImageWriters.h"
#include "tests/common/ReferencePng.h"
#include "tests/common/TempDir.h"

namespace {

using Bytes = std::vector<unsigned char>;

const char* const initIoFailed = "[read_png_file] Error during init_io";
const char* const readImageFailed = "[read_png_file] Error during read_image";

PngPicture picture(int width, int height, int colourType, int bitDepth, Bytes samples) {
  PngPicture p;
  p.width = width;
  p.height = height;
  p.colourType = colourType;
  p.bitDepth = bitDepth;
  p.samples = std::move(samples);
  return p;
}

PngPicture withPalette(PngPicture p, Bytes palette, Bytes transparency = {}) {
  p.palette = std::move(palette);
  p.transparency = std::move(transparency);
  return p;
}

PngPicture withKey(PngPicture p, Bytes key) {
  p.transparency = std::move(key);
  return p;
}

std::string pngBytes(const PngPicture& p) {
  TempDir dir;
  EXPECT_TRUE(writePng(dir.file("p.png"), p));
  return readFile(dir.file("p.png"));
}

struct LayoutCase {
  const char* name;
  PngPicture picture;
  bool isAlpha;
  Bytes expected;  // top row first
};

const LayoutCase layoutCases[] = {
    {"RGB 8-bit", picture(2, 2, 2, 8, {1, 2, 3, 4, 5, 6, /**/ 7, 8, 9, 10, 11, 12}), false,
     {1, 2, 3, 4, 5, 6, /**/ 7, 8, 9, 10, 11, 12}},
    {"RGBA 8-bit", picture(1, 2, 6, 8, {1, 2, 3, 4, /**/ 5, 6, 7, 8}), true, {1, 2, 3, 4, 5, 6, 7, 8}},
    {"RGBA 16-bit keeps the high bytes", picture(1, 2, 6, 16, {1, 99, 2, 99, 3, 99, 4, 99, /**/ 250, 1, 251, 2, 252, 3, 253, 4}),
     true, {1, 2, 3, 4, 250, 251, 252, 253}},
    {"RGB 16-bit", picture(2, 1, 2, 16, {10, 0, 20, 0, 30, 0, 40, 255, 50, 255, 60, 255}), false, {10, 20, 30, 40, 50, 60}},
    {"grey 8-bit", picture(2, 2, 0, 8, {0, 100, /**/ 200, 255}), false,
     {0, 0, 0, 100, 100, 100, /**/ 200, 200, 200, 255, 255, 255}},
    {"grey 1-bit", picture(3, 1, 0, 1, {0xA0}), false, {255, 255, 255, 0, 0, 0, 255, 255, 255}},
    {"grey 4-bit", picture(2, 1, 0, 4, {0x1F}), false, {17, 17, 17, 255, 255, 255}},
    {"grey 16-bit", picture(1, 1, 0, 16, {0xAB, 0xCD}), false, {0xAB, 0xAB, 0xAB}},
    {"grey with alpha 8-bit", picture(2, 1, 4, 8, {10, 20, 30, 40}), true, {10, 10, 10, 20, 30, 30, 30, 40}},
    {"grey with alpha 16-bit", picture(1, 1, 4, 16, {10, 1, 20, 2}), true, {10, 10, 10, 20}},
    {"palette 8-bit", withPalette(picture(3, 1, 3, 8, {2, 0, 1}), {1, 2, 3, 4, 5, 6, 7, 8, 9}), false,
     {7, 8, 9, 1, 2, 3, 4, 5, 6}},
    {"palette 2-bit with transparency", withPalette(picture(4, 1, 3, 2, {0x1B}), {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, {0, 128}),
     true, {1, 2, 3, 0, 4, 5, 6, 128, 7, 8, 9, 255, 10, 11, 12, 255}},
    {"grey with a transparent key", withKey(picture(2, 1, 0, 8, {7, 8}), {0, 7}), true, {7, 7, 7, 0, 8, 8, 8, 255}},
    {"RGB with a transparent key", withKey(picture(2, 1, 2, 8, {1, 2, 3, 4, 5, 6}), {0, 4, 0, 5, 0, 6}), true,
     {1, 2, 3, 255, 4, 5, 6, 0}},
};

TEST(PngDecoder, EveryLayoutGivesEightBitRgbOrRgbaTopRowFirst) {
  for (const LayoutCase& c : layoutCases) {
    DecodedImage result = decodeBytes(read_png_file, pngBytes(c.picture));
    ASSERT_TRUE(result.ok()) << c.name << ": " << result.failure << ": " << result.detail;
    EXPECT_EQ(c.picture.width, result.pixels.width) << c.name;
    EXPECT_EQ(c.picture.height, result.pixels.height) << c.name;
    EXPECT_EQ(c.isAlpha, result.pixels.isAlpha) << c.name;
    EXPECT_EQ(c.expected, pixelBytes(result.pixels)) << c.name;
  }
}

TEST(PngDecoder, InterlacedPictureEqualsItsSource) {
  Bytes samples;
  for (int y = 0; y < 11; ++y)
    for (int x = 0; x < 13; ++x) samples.insert(samples.end(), {uint8_t(x * 19), uint8_t(y * 23), uint8_t(x * y), uint8_t(200 - x)});
  PngPicture p = picture(13, 11, 6, 8, samples);
  p.interlaced = true;
  DecodedImage result = decodeBytes(read_png_file, pngBytes(p));
  ASSERT_TRUE(result.ok()) << result.detail;
  EXPECT_EQ(samples, pixelBytes(result.pixels));
}

TEST(PngDecoder, VerboseLoadPrintsItsTag) {
  const std::string bytes = pngBytes(picture(1, 1, 2, 8, {1, 2, 3}));
  testing::internal::CaptureStdout();
  decodeBytes(read_png_file, bytes, true);
  EXPECT_EQ("(png)", testing::internal::GetCapturedStdout());
}

// Rewrites the width in the IHDR chunk, with a matching CRC.
std::string withWidth(std::string png, uint32_t width) {
  for (int i = 0; i < 4; ++i) png[16 + i] = char((width >> (24 - 8 * i)) & 255);
  const uint32_t crc = uint32_t(crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17));
  for (int i = 0; i < 4; ++i) png[29 + i] = char((crc >> (24 - 8 * i)) & 255);
  return png;
}

TEST(PngDecoder, RejectedFilesFailWithLibpngsComplaint) {
  Bytes samples;
  for (int i = 0; i < 64 * 64 * 3; ++i) samples.push_back(uint8_t(i * 7919 >> 3));
  const std::string good = pngBytes(picture(64, 64, 2, 8, samples));
  std::string badHeaderCrc = good;
  badHeaderCrc[20] ^= 1;
  std::string badData = good;
  for (size_t i = 60; i < 200; ++i) badData[i] = char(i);
  struct Case {
    const char* name;
    std::string bytes;
    std::string failure, detail;
  } cases[] = {
      {"not a PNG", "GIF89a and more bytes", "[read_png_file] File is not recognized as a PNG file", ""},
      {"signature only", good.substr(0, 8), initIoFailed, "Read Error"},
      {"header cut short", good.substr(0, 20), initIoFailed, "Read Error"},
      {"header CRC", badHeaderCrc, initIoFailed, "IHDR: CRC error"},
      {"wider than the limit", withWidth(good, 16385), initIoFailed, "Invalid IHDR data (Image width exceeds user limit in IHDR)"},
      {"data cut short", good.substr(0, good.size() / 2), readImageFailed, "Read Error"},
      {"data damaged", badData, readImageFailed, "IDAT: invalid literal/lengths set"},
  };
  for (const Case& c : cases) {
    DecodedImage result = decodeBytes(read_png_file, c.bytes);
    EXPECT_EQ(c.failure, result.failure) << c.name;
    EXPECT_EQ(c.detail, result.detail) << c.name;
    EXPECT_EQ(nullptr, result.pixels.data) << c.name;
  }
}

std::vector<std::string> filesIn(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* dir = opendir(folder.c_str())) {
    while (dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name.size() > 4 && name.compare(name.size() - 4, 4, ".png") == 0) names.push_back(name);
    }
    closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Every picture of the PNG suite (every colour type and depth, palettes,
// transparency, interlacing) against an independent reading of the file.
TEST(PngDecoder, EveryPngSuitePictureMatchesAnIndependentReading) {
  const std::vector<std::string> names = filesIn(imageFixture("pngsuite"));
  ASSERT_EQ(60u, names.size());
  for (const std::string& name : names) {
    const std::string path = imageFixture("pngsuite/" + name);
    DecodedImage ours = decodeFile(read_png_file, path);
    ASSERT_TRUE(ours.ok()) << name << ": " << ours.failure << ": " << ours.detail;
    ReferencePicture reference = readReferencePng(readFile(path));
    ASSERT_EQ("", reference.problem) << name;
    EXPECT_EQ(32, ours.pixels.width) << name;
    EXPECT_EQ(32, ours.pixels.height) << name;
    EXPECT_EQ(reference.hasAlpha, ours.pixels.isAlpha) << name;
    EXPECT_TRUE(reference.rgba == rgbaBytes(ours.pixels)) << name << " differs from the independent reading";
  }
}

// Chunks that claim gigabytes are refused without that memory being taken:
// the peak size of a fresh process stays small while it reads them all.
TEST(PngDecoder, HugeChunksAreRefusedWithoutAllocatingThem) {
  const std::vector<std::string> names = filesIn(imageFixture("crashers"));
  ChildResult result = runInChild([&] {
    int failures = 0;
    for (const std::string& name : names)
      if (name.compare(0, 5, "huge_") == 0 && !decodeFile(read_png_file, imageFixture("crashers/" + name)).ok())
        ++failures;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%d %ld\n", failures, usage.ru_maxrss);
  });
  int failures = 0;
  long peakKilobytes = 0;
  ASSERT_EQ(2, std::sscanf(result.out.c_str(), "%d %ld", &failures, &peakKilobytes)) << describe(result);
  EXPECT_EQ(19, failures);
  EXPECT_LT(peakKilobytes, 200 * 1024);
}

Bytes pixelAt(const PixelBlock& block, int x, int y) {
  return Bytes(block.pixel(x, y), block.pixel(x, y) + block.bytesPerPixel());
}

TEST(PngDecoder, PngSuiteKnownPixels) {
  // basn0g01: 1-bit grey, white at the top-left corner, black at the bottom.
  DecodedImage grey1 = decodeFile(read_png_file, imageFixture("pngsuite/basn0g01.png"));
  ASSERT_TRUE(grey1.ok());
  EXPECT_EQ((Bytes{255, 255, 255}), pixelAt(grey1.pixels, 0, 0));
  EXPECT_EQ((Bytes{0, 0, 0}), pixelAt(grey1.pixels, 31, 31));

  // basn6a16: 16-bit RGBA, yellow, green, red and blue corners, transparent
  // at the border and opaque in the middle.
  DecodedImage rgba16 = decodeFile(read_png_file, imageFixture("pngsuite/basn6a16.png"));
  ASSERT_TRUE(rgba16.ok());
  EXPECT_TRUE(rgba16.pixels.isAlpha);
  EXPECT_EQ((Bytes{255, 255, 0, 0}), pixelAt(rgba16.pixels, 0, 0));
  EXPECT_EQ((Bytes{0, 255, 0, 0}), pixelAt(rgba16.pixels, 31, 0));
  EXPECT_EQ((Bytes{255, 0, 0, 0}), pixelAt(rgba16.pixels, 0, 31));
  EXPECT_EQ((Bytes{0, 0, 255, 0}), pixelAt(rgba16.pixels, 31, 31));
  EXPECT_GT(rgba16.pixels.pixel(16, 16)[3], 200);

  // Interlaced twins give the same pixels.
  for (const char* name : {"basn3p08", "basn0g16", "basn2c16", "basn4a08"}) {
    DecodedImage plain = decodeFile(read_png_file, imageFixture("pngsuite/" + std::string(name) + ".png"));
    DecodedImage interlaced = decodeFile(read_png_file, imageFixture("pngsuite/i" + std::string(name) + ".png"));
    ASSERT_TRUE(plain.ok() && interlaced.ok()) << name;
    EXPECT_EQ(pixelBytes(plain.pixels), pixelBytes(interlaced.pixels)) << name;
  }
}

}  // namespace
