#include <gtest/gtest.h>

#include <algorithm>

#include "support/PngDecoder.h"
#include "support/TgaDecoder.h"
#include "tests/common/DecodeHelpers.h"
#include "tests/common/ImageWriters.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Bytes repeat(const Bytes& unit, int times) {
  Bytes out;
  for (int i = 0; i < times; ++i) out = out + unit;
  return out;
}

TgaHeaderFields header(int type, int width, int height, int bits, int descriptor = 0) {
  TgaHeaderFields h;
  h.imageType = type;
  h.width = width;
  h.height = height;
  h.pixelBits = bits;
  h.descriptor = descriptor;
  return h;
}

TgaHeaderFields mapped(int type, int width, int height, int mapLength, int entryBits, int mapFirst = 0) {
  TgaHeaderFields h = header(type, width, height, 8);
  h.colourMapType = 1;
  h.mapFirst = mapFirst;
  h.mapLength = mapLength;
  h.mapEntryBits = entryBits;
  return h;
}

struct LayoutCase {
  const char* name;
  TgaHeaderFields header;
  Bytes rest;             // identification field, colour map, pixel data
  bool isAlpha;
  Bytes expected;         // top row first
};

// 2 x 2 pictures: stored bottom row first unless the descriptor says top.
const LayoutCase layoutCases[] = {
    {"true colour 24-bit, bottom-left", header(2, 2, 2, 24), {1, 2, 3, 4, 5, 6, /**/ 7, 8, 9, 10, 11, 12}, false,
     {9, 8, 7, 12, 11, 10, /**/ 3, 2, 1, 6, 5, 4}},
    {"true colour 32-bit, top-left", header(2, 2, 2, 32, 0x28),
     {1, 2, 3, 4, 5, 6, 7, 8, /**/ 9, 10, 11, 12, 13, 14, 15, 16}, true,
     {3, 2, 1, 4, 7, 6, 5, 8, /**/ 11, 10, 9, 12, 15, 14, 13, 16}},
    {"true colour 16-bit, top bit ignored", header(2, 2, 1, 16), {0x00, 0x7C, 0xE0, 0x83}, false,
     {248, 0, 0, 0, 248, 0}},
    {"true colour 15-bit", header(2, 2, 1, 15), {0x1F, 0x00, 0x21, 0x04}, false, {0, 0, 248, 8, 8, 8}},
    {"grey 8-bit", header(3, 2, 2, 8), {10, 20, 30, 40}, false,
     {30, 30, 30, 40, 40, 40, /**/ 10, 10, 10, 20, 20, 20}},
    {"grey with alpha 16-bit", header(3, 1, 2, 16, 0x20), {10, 200, 30, 0}, true, {10, 10, 10, 200, 30, 30, 30, 0}},
    {"colour-mapped, 24-bit map", mapped(1, 2, 1, 3, 24), {1, 2, 3, 4, 5, 6, 7, 8, 9, /**/ 2, 0}, false,
     {9, 8, 7, 3, 2, 1}},
    {"colour-mapped, 32-bit map keeps alpha", mapped(1, 2, 1, 2, 32), {1, 2, 3, 4, 5, 6, 7, 8, /**/ 1, 0}, true,
     {7, 6, 5, 8, 3, 2, 1, 4}},
    {"colour-mapped, 16-bit map", mapped(1, 2, 1, 2, 16), {0x00, 0x7C, 0x1F, 0x00, /**/ 1, 0}, false,
     {0, 0, 248, 248, 0, 0}},
    {"colour-mapped, map starting at entry 2", mapped(1, 2, 1, 2, 24, 2), {1, 2, 3, 4, 5, 6, /**/ 3, 2}, false,
     {6, 5, 4, 3, 2, 1}},
    {"identification field skipped", [] { TgaHeaderFields h = header(2, 1, 1, 24); h.idLength = 3; return h; }(),
     {'a', 'b', 'c', 1, 2, 3}, false, {3, 2, 1}},
    {"true colour with an unused colour map", [] {
       TgaHeaderFields h = header(2, 1, 1, 24);
       h.colourMapType = 1;
       h.mapLength = 2;
       h.mapEntryBits = 15;
       return h;
     }(),
     {9, 9, 9, 9, 1, 2, 3}, false, {3, 2, 1}},
    {"right-to-left rows are mirrored", header(2, 3, 1, 24, 0x10), {1, 1, 1, 2, 2, 2, 3, 3, 3}, false,
     {3, 3, 3, 2, 2, 2, 1, 1, 1}},
    {"run-length true colour, packets crossing rows", header(10, 2, 2, 24),
     {0x82, 1, 2, 3, /**/ 0x00, 4, 5, 6}, false, {3, 2, 1, 6, 5, 4, /**/ 3, 2, 1, 3, 2, 1}},
    {"run-length grey with alpha", header(11, 2, 1, 16), {0x01, 50, 60, 70, 80}, true,
     {50, 50, 50, 60, 70, 70, 70, 80}},
    {"run-length colour-mapped", mapped(9, 3, 1, 2, 24), {1, 2, 3, 4, 5, 6, /**/ 0x81, 1, 0x00, 0}, false,
     {6, 5, 4, 6, 5, 4, 3, 2, 1}},
    {"run-length packet longer than the picture is cut short", header(11, 2, 1, 8), {0xFF, 7}, false,
     {7, 7, 7, 7, 7, 7}},
};

TEST(TgaDecoder, EveryTypeAndDepthGivesRgbOrRgbaTopRowFirst) {
  for (const LayoutCase& c : layoutCases) {
    DecodedImage result = decodeBytes(loadTga, tgaBytes(c.header, c.rest));
    ASSERT_TRUE(result.ok()) << c.name << ": " << result.detail;
    EXPECT_EQ(c.header.width, result.pixels.width) << c.name;
    EXPECT_EQ(c.header.height, result.pixels.height) << c.name;
    EXPECT_EQ(c.isAlpha, result.pixels.isAlpha) << c.name;
    EXPECT_EQ(c.expected, pixelBytes(result.pixels)) << c.name;
  }
}

TEST(TgaDecoder, RunOf128RepeatsOnePixel128Times) {
  // 130 x 1: one repeated packet of 128 (header 255), then a raw packet of two.
  const Bytes rest = Bytes{0xFF, 10, 20, 30} + Bytes{0x01, 1, 2, 3, 4, 5, 6};
  DecodedImage result = decodeBytes(loadTga, tgaBytes(header(10, 130, 1, 24), rest));
  ASSERT_TRUE(result.ok()) << result.detail;
  const Bytes expected = repeat({30, 20, 10}, 128) + Bytes{3, 2, 1, 6, 5, 4};
  EXPECT_EQ(expected, pixelBytes(result.pixels));

  // The same packet fills a 16 x 8 picture across its rows.
  result = decodeBytes(loadTga, tgaBytes(header(11, 16, 8, 8), {0xFF, 99}));
  ASSERT_TRUE(result.ok()) << result.detail;
  EXPECT_EQ(repeat({99}, 128 * 3), pixelBytes(result.pixels));
}

TEST(TgaDecoder, VerboseLoadPrintsItsTag) {
  testing::internal::CaptureStdout();
  decodeBytes(loadTga, tgaBytes(header(2, 1, 1, 24), {1, 2, 3}), true);
  EXPECT_EQ("(tga)", testing::internal::GetCapturedStdout());
  testing::internal::CaptureStdout();
  decodeBytes(loadTga, tgaBytes(header(2, 1, 1, 24), {1, 2, 3}), false);
  EXPECT_EQ("", testing::internal::GetCapturedStdout());
}

struct BadCase {
  const char* name;
  std::string bytes;
  std::string detail;
};

TEST(TgaDecoder, BadFilesFailWithTheirProblem) {
  const std::string full = tgaBytes(header(2, 2, 2, 24), repeat({1, 2, 3}, 4));
  TgaHeaderFields noMap = header(1, 1, 1, 8);
  TgaHeaderFields negativeMap = mapped(1, 1, 1, -2, 24);
  const BadCase cases[] = {
      {"type 0", tgaBytes(header(0, 1, 1, 24), {}), "image type 0 holds no image data"},
      {"type 5", tgaBytes(header(5, 1, 1, 24), {1, 2, 3}), "unknown TGA image type 5"},
      {"type 12", tgaBytes(header(12, 1, 1, 24), {1, 2, 3}), "unknown TGA image type 12"},
      {"zero width", tgaBytes(header(2, 0, 1, 24), {}), "image size 0 x 1 is not between 1 and 16384 pixels per side"},
      {"negative height", tgaBytes(header(2, 1, -3, 24), {}),
       "image size 1 x -3 is not between 1 and 16384 pixels per side"},
      {"too wide", tgaBytes(header(2, 16385, 1, 24), {}),
       "image size 16385 x 1 is not between 1 and 16384 pixels per side"},
      {"depth 8 for true colour", tgaBytes(header(2, 1, 1, 8), {1}), "pixel depth 8 is not supported for image type 2"},
      {"depth 24 for grey", tgaBytes(header(3, 1, 1, 24), {1, 2, 3}), "pixel depth 24 is not supported for image type 3"},
      {"depth 16 for colour map", tgaBytes(header(1, 1, 1, 16), {1, 2}), "pixel depth 16 is not supported for image type 1"},
      {"colour-mapped without map", tgaBytes(noMap, {0}), "colour-mapped image without a colour map"},
      {"negative map length", tgaBytes(negativeMap, {0}), "colour map length -2 is negative"},
      {"8-bit map entries", tgaBytes(mapped(1, 1, 1, 1, 8), {5, 0}), "colour map entry size 8 is not supported"},
      {"index above the map", tgaBytes(mapped(1, 2, 1, 2, 24), {1, 2, 3, 4, 5, 6, 1, 5}),
       "colour map index 5 lies outside the map"},
      {"index below a map starting at 3", tgaBytes(mapped(9, 2, 1, 1, 24, 3), {1, 2, 3, 0x81, 2}),
       "colour map index 2 lies outside the map"},
      {"empty file", "", "data ends early, in the 18-byte header"},
      {"short header", full.substr(0, 10), "data ends early, in the 18-byte header"},
      {"short identification", [] { TgaHeaderFields h = header(2, 1, 1, 24); h.idLength = 10; return tgaBytes(h, {1, 2}); }(),
       "data ends early, in the identification field"},
      {"short colour map", tgaBytes(mapped(1, 1, 1, 4, 24), {1, 2, 3, 4, 5}), "data ends early, in the colour map"},
      {"short raw data", full.substr(0, full.size() - 1),
       "data ends early: 4 pixels need at least 12 bytes, the file holds 11"},
      {"run-length data without packets", tgaBytes(header(10, 2, 2, 24), {0x80}),
       "data ends early: 4 pixels need at least 4 bytes, the file holds 1"},
      {"raw packet cut short", tgaBytes(header(10, 2, 2, 24), {0x03, 1, 2, 3, 4, 5, 6}),
       "data ends early, at pixel 0 of 4"},
      {"packets run out", tgaBytes(header(10, 2, 2, 24), {0x80, 1, 2, 3, 0x80}), "data ends early, at pixel 1 of 4"},
      {"largest picture, no data", tgaBytes(header(10, 16384, 16384, 32), {0xFF, 1, 2, 3, 4}),
       "data ends early: 268435456 pixels need at least 10485760 bytes, the file holds 5"},
  };
  for (const BadCase& c : cases) {
    DecodedImage result = decodeBytes(loadTga, c.bytes);
    EXPECT_FALSE(result.ok()) << c.name;
    EXPECT_EQ("loadTga : cannot load tga file", result.failure) << c.name;
    EXPECT_EQ(c.detail, result.detail) << c.name;
    EXPECT_EQ(nullptr, result.pixels.data) << c.name;
  }
}

// Real files written by other programs.

TEST(TgaDecoder, RealFilesMatchTheirReferencePictures) {
  for (const char* mode : {"l", "la", "p", "rgb", "rgba"}) {
    DecodedImage reference = decodeFile(read_png_file, imageFixture("tga/200x32_" + std::string(mode) + ".png"));
    ASSERT_TRUE(reference.ok()) << mode << ": " << reference.detail;
    for (const char* variant : {"bl_raw", "bl_rle", "tl_raw", "tl_rle", "bl_raw_origin"}) {
      const std::string name = "tga/200x32_" + std::string(mode) + "_" + variant + ".tga";
      FILE* probe = std::fopen(imageFixture(name).c_str(), "rb");
      if (probe == nullptr) continue;  // only the palette picture has the "origin" variant
      std::fclose(probe);
      DecodedImage tga = decodeFile(loadTga, imageFixture(name));
      ASSERT_TRUE(tga.ok()) << name << ": " << tga.detail;
      EXPECT_EQ(200, tga.pixels.width) << name;
      EXPECT_EQ(32, tga.pixels.height) << name;
      EXPECT_EQ(reference.pixels.isAlpha, tga.pixels.isAlpha) << name;
      EXPECT_TRUE(rgbaBytes(reference.pixels) == rgbaBytes(tga.pixels)) << name << " differs from its reference";
    }
  }
  DecodedImage onePixel = decodeFile(read_png_file, imageFixture("tga/1x1_l.png"));
  ASSERT_TRUE(onePixel.ok());
  for (const char* variant : {"bl_raw", "bl_rle", "tl_raw", "tl_rle"}) {
    DecodedImage tga = decodeFile(loadTga, imageFixture("tga/1x1_l_" + std::string(variant) + ".tga"));
    ASSERT_TRUE(tga.ok()) << variant << ": " << tga.detail;
    EXPECT_EQ(pixelBytes(onePixel.pixels), pixelBytes(tga.pixels)) << variant;
  }
}

// The same run-length data under three descriptors: bottom-left, bottom-right
// and top-right origins must give the picture, its mirror and its half turn.
TEST(TgaDecoder, RealFilesHonourBothOriginBits) {
  DecodedImage plain = decodeFile(loadTga, imageFixture("tga/rgb32rle.tga"));
  DecodedImage bottomRight = decodeFile(loadTga, imageFixture("tga/rgb32rle_bottom_right.tga"));
  DecodedImage topRight = decodeFile(loadTga, imageFixture("tga/rgb32rle_top_right.tga"));
  ASSERT_TRUE(plain.ok() && bottomRight.ok() && topRight.ok());
  const PixelBlock& p = plain.pixels;
  ASSERT_EQ(199, p.width);
  ASSERT_EQ(199, p.height);
  ASSERT_TRUE(p.isAlpha);
  bool mirrored = true, turned = true;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      mirrored = mirrored && std::equal(p.pixel(x, y), p.pixel(x, y) + 4, bottomRight.pixels.pixel(p.width - 1 - x, y));
      turned = turned && std::equal(p.pixel(x, y), p.pixel(x, y) + 4,
                                    topRight.pixels.pixel(p.width - 1 - x, p.height - 1 - y));
    }
  EXPECT_TRUE(mirrored);
  EXPECT_TRUE(turned);
}

TEST(TgaDecoder, OtherRealFiles) {
  DecodedImage crossing = decodeFile(loadTga, imageFixture("tga/cross_scan_line.tga"));
  ASSERT_TRUE(crossing.ok()) << crossing.detail;
  EXPECT_EQ((Bytes{255, 255, 255, 0, 0, 0, /**/ 0, 0, 0, 255, 255, 255}), pixelBytes(crossing.pixels));

  DecodedImage rgba16 = decodeFile(loadTga, imageFixture("tga/rgba16.tga"));
  ASSERT_TRUE(rgba16.ok()) << rgba16.detail;
  EXPECT_FALSE(rgba16.pixels.isAlpha);
  EXPECT_EQ((Bytes{168, 0, 248, 0, 248, 80}), pixelBytes(rgba16.pixels));

  DecodedImage greyAlpha = decodeFile(loadTga, imageFixture("tga/la.tga"));
  ASSERT_TRUE(greyAlpha.ok()) << greyAlpha.detail;
  EXPECT_EQ(64, greyAlpha.pixels.width);
  EXPECT_TRUE(greyAlpha.pixels.isAlpha);

  DecodedImage palette16 = decodeFile(loadTga, imageFixture("tga/p_16.tga"));
  ASSERT_TRUE(palette16.ok()) << palette16.detail;
  EXPECT_EQ(128, palette16.pixels.width);
  EXPECT_FALSE(palette16.pixels.isAlpha);

  DecodedImage idField = decodeFile(loadTga, imageFixture("tga/tga_id_field.tga"));
  ASSERT_TRUE(idField.ok()) << idField.detail;
  EXPECT_EQ(100, idField.pixels.width);
  EXPECT_EQ(100, idField.pixels.height);

  DecodedImage truncated = decodeFile(loadTga, imageFixture("tga/cross_scan_line_truncated.tga"));
  EXPECT_FALSE(truncated.ok());
  EXPECT_EQ(0u, truncated.detail.find("data ends early")) << truncated.detail;

  DecodedImage eightBitMap = decodeFile(loadTga, imageFixture("tga/p_8.tga"));
  EXPECT_EQ("colour map entry size 8 is not supported", eightBitMap.detail);
}

}  // namespace
