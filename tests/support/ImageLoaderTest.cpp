#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>

#include "support/ImageLoader.h"
#include "tests/common/ChildProcess.h"
#include "tests/common/DecodeHelpers.h"
#include "tests/common/ImageWriters.h"
#include "tests/common/TempDir.h"

namespace {

using Bytes = std::vector<unsigned char>;

TEST(ImageLoader, DecoderIsChosenByExactNameEndings) {
  const struct {
    const char* name;
    ImageFormat format;
  } cases[] = {
      {"a.jpg", ImageFormat::JPEG},   {"a.JPG", ImageFormat::JPEG},     {"a.jpeg", ImageFormat::JPEG},
      {"a.JPEG", ImageFormat::JPEG},  {"a.Jpg", ImageFormat::UNKNOWN},  {"a.jPeG", ImageFormat::UNKNOWN},
      {".jpg", ImageFormat::UNKNOWN}, {".jpeg", ImageFormat::UNKNOWN},  {"x.jpeg", ImageFormat::JPEG},
      {"a.png", ImageFormat::PNG},    {"a.PNG", ImageFormat::PNG},      {"a.Png", ImageFormat::UNKNOWN},
      {".png", ImageFormat::UNKNOWN}, {"a.tga", ImageFormat::TGA},      {"a.TgA", ImageFormat::TGA},
      {".tga", ImageFormat::TGA},     {"tga", ImageFormat::UNKNOWN},    {"a.bmp", ImageFormat::UNKNOWN},
      {"", ImageFormat::UNKNOWN},     {"dir.png/a", ImageFormat::UNKNOWN}, {"menus/a.png", ImageFormat::PNG},
  };
  for (const auto& c : cases) EXPECT_EQ(c.format, imageFormatOf(c.name)) << "'" << c.name << "'";
}

// One small file of each format in a temporary folder.
class ImageFiles : public testing::Test {
 protected:
  void SetUp() override {
    PngPicture png;
    png.width = 3;
    png.height = 2;
    png.colourType = 6;
    png.samples = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, /**/ 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};
    ASSERT_TRUE(writePng(dir.file("pic.png"), png));
    ASSERT_TRUE(writeJpeg(dir.file("pic.jpg"), 8, 8, 1, Bytes(64, 128)));
    TgaHeaderFields tga;
    tga.imageType = 3;
    tga.pixelBits = 8;
    tga.width = 1;
    tga.height = 2;
    dir.write("pic.TgA", tgaBytes(tga, {10, 20}));
  }
  TempDir dir;
};

TEST_F(ImageFiles, EachFormatDecodesAtItsOwnSizeWithItsProgressLine) {
  testing::internal::CaptureStdout();
  PixelBlock png = decodeImage(dir.file("pic.png"), true);
  EXPECT_EQ("Loading image '" + dir.file("pic.png") + "' ...(png)", testing::internal::GetCapturedStdout());
  EXPECT_EQ(3, png.width);
  EXPECT_EQ(2, png.height);
  EXPECT_TRUE(png.isAlpha);
  EXPECT_EQ(13, png.row(1)[0]);

  testing::internal::CaptureStdout();
  PixelBlock jpeg = decodeImage(dir.file("pic.jpg"), true);
  EXPECT_EQ("Loading image '" + dir.file("pic.jpg") + "' ...(jpeg)chmu1\nchmu2\n", testing::internal::GetCapturedStdout());
  EXPECT_EQ(8, jpeg.width);
  EXPECT_FALSE(jpeg.isAlpha);

  testing::internal::CaptureStdout();
  PixelBlock tga = decodeImage(dir.file("pic.TgA"), false);
  EXPECT_EQ("", testing::internal::GetCapturedStdout());
  EXPECT_EQ((Bytes{20, 20, 20, 10, 10, 10}), pixelBytes(tga));
}

// The fatal report's message line for a failed load of `path`.
std::string reportMessage(const std::string& path, bool verbose = false) {
  ChildResult result = runInChild([&] { decodeImage(path, verbose); });
  EXPECT_EQ(1, result.exitCode) << describe(result);
  const size_t at = result.err.find("\nMessage: ");
  if (at == std::string::npos) return "(no message) " + result.err;
  return result.err.substr(at + 10, result.err.find('\n', at + 10) - at - 10);
}

TEST_F(ImageFiles, EveryFailureIsFatalAndNamesTheFile) {
  EXPECT_EQ("loadImage: can't open '" + dir.file("missing.png") + "'", reportMessage(dir.file("missing.png")));
  const std::string oddName = dir.write("pic.Png", readFile(dir.file("pic.png")));
  EXPECT_EQ("loadImage : File format not recognised" + oddName, reportMessage(oddName));

  const std::string notPng = dir.write("bad.png", "hello");
  EXPECT_EQ("[read_png_file] File is not recognized as a PNG file '" + notPng + "'", reportMessage(notPng));
  const std::string png = readFile(dir.file("pic.png"));
  const std::string cut = dir.write("cut.png", png.substr(0, png.size() - 30));
  EXPECT_EQ("[read_png_file] Error during read_image '" + cut + "': Read Error", reportMessage(cut));

  const std::string notJpeg = dir.write("bad.jpg", "hello");
  EXPECT_EQ("loadJpeg : cannot load jpeg file '" + notJpeg + "': Not a JPEG file: starts with 0x68 0x65",
            reportMessage(notJpeg));

  TgaHeaderFields unknown;
  unknown.imageType = 5;
  const std::string badTga = dir.write("bad.tga", tgaBytes(unknown, {1, 2, 3}));
  EXPECT_EQ("loadTga : cannot load tga file '" + badTga + "': unknown TGA image type 5", reportMessage(badTga));
}

TEST_F(ImageFiles, VerboseFailureEndsTheProgressLineBeforeTheReport) {
  const std::string badTga = dir.write("bad.tga", "short");
  ChildResult result = runInChild([&] { decodeImage(badTga, true); });
  EXPECT_EQ(1, result.exitCode);
  EXPECT_EQ("Loading image '" + badTga + "' ...(tga)\n", result.out);
  EXPECT_NE(std::string::npos, result.err.find("data ends early, in the 18-byte header"));
}

// Damaged PNGs that once crashed decoders: each loads, or ends with the
// report naming it; none ends with a signal.
TEST(ImageLoader, PngCrashersLoadOrEndWithTheReport) {
  const std::string folder = imageFixture("crashers");
  std::vector<std::string> names;
  DIR* dir = opendir(folder.c_str());
  ASSERT_NE(nullptr, dir);
  while (dirent* entry = readdir(dir))
    if (imageFormatOf(entry->d_name) == ImageFormat::PNG) names.push_back(entry->d_name);
  closedir(dir);
  ASSERT_EQ(23u, names.size());
  for (const std::string& name : names) {
    const std::string path = folder + "/" + name;
    ChildResult result = runInChild([&] { decodeImage(path, false); }, 20);
    EXPECT_EQ(0, result.signal) << name << describe(result);
    EXPECT_FALSE(result.timedOut) << name;
    EXPECT_TRUE(result.exitCode == 0 || result.exitCode == 1) << name << describe(result);
    if (result.exitCode == 1) {
      EXPECT_NE(std::string::npos, result.err.find("'" + path + "'")) << name << result.err;
    }
  }
}

TEST(ImageLoader, PowerOfTwoSides) {
  const int cases[][2] = {{1, 2}, {2, 2}, {3, 4}, {50, 64}, {64, 64}, {100, 128}, {200, 256}, {256, 256},
                          {300, 512}, {16384, 16384}};
  for (const auto& c : cases) EXPECT_EQ(c[1], powerOfTwoSide(c[0])) << c[0];
  EXPECT_FALSE(needsStretch(256, 256));
  EXPECT_FALSE(needsStretch(2, 1024));
  EXPECT_TRUE(needsStretch(300, 200));
  EXPECT_TRUE(needsStretch(256, 200));
  EXPECT_TRUE(needsStretch(1, 1));
}

TEST(ImageLoader, DoneTextEndsTheVerboseLine) {
  PixelBlock block;
  block.width = 128;
  block.height = 64;
  block.isAlpha = true;
  EXPECT_EQ(" (image was streched) ... done (width=128 height=64 isAlpha=1)", loadImageDoneText(block, true));
  block.width = 256;
  block.height = 256;
  block.isAlpha = false;
  EXPECT_EQ("... done (width=256 height=256 isAlpha=0)", loadImageDoneText(block, false));
}

}  // namespace
