#include "ImageLoader.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iostream>

#include "FatalReport.h"
#include "JpegDecoder.h"
#include "PngDecoder.h"
#include "TgaDecoder.h"

namespace {

bool endsWith(const std::string& name, const char* ending) {
  const std::string suffix = ending;
  return name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string upperCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::toupper(c)); });
  return text;
}

DecodedImage decode(ImageFormat format, FILE* file, bool verbose) {
  switch (format) {
    case ImageFormat::JPEG: return loadJpeg(file, verbose);
    case ImageFormat::PNG: return read_png_file(file, verbose);
    default: return loadTga(file, verbose);
  }
}

}  // namespace

ImageFormat imageFormatOf(const std::string& filename) {
  for (const char* ending : {".jpg", ".JPG", ".jpeg", ".JPEG"})
    if (endsWith(filename, ending)) return ImageFormat::JPEG;
  if (endsWith(filename, ".png") || endsWith(filename, ".PNG")) return ImageFormat::PNG;
  if (filename.size() >= 4 && upperCase(filename.substr(filename.size() - 4)) == ".TGA") return ImageFormat::TGA;
  return ImageFormat::UNKNOWN;
}

PixelBlock decodeImage(const std::string& filename, bool verbose) {
  if (verbose) std::cout << "Loading image '" << filename << "'" << " ..." << std::flush;
  FILE* file = std::fopen(filename.c_str(), "rb");
  if (file == nullptr) FATAL_ERROR("loadImage: can't open '" + filename + "'");
  const ImageFormat format = imageFormatOf(filename);
  if (format == ImageFormat::UNKNOWN) {
    std::fclose(file);
    FATAL_ERROR("loadImage : File format not recognised" + filename);
  }
  DecodedImage decoded = decode(format, file, verbose);
  std::fclose(file);
  if (!decoded.ok()) {
    if (verbose) std::cout << std::endl;  // end the progress line before the report
    FATAL_ERROR(decoded.failure + " '" + filename + "'" + (decoded.detail.empty() ? "" : ": " + decoded.detail));
  }
  return std::move(decoded.pixels);
}

int powerOfTwoSide(int side) {
  int power = 2;
  while (power < side) power *= 2;
  return power;
}

bool needsStretch(int width, int height) {
  return powerOfTwoSide(width) != width || powerOfTwoSide(height) != height;
}

std::string loadImageDoneText(const PixelBlock& pixels, bool stretched) {
  return std::string(stretched ? " (image was streched) " : "") + "... done (width=" + std::to_string(pixels.width) +
         " height=" + std::to_string(pixels.height) + " isAlpha=" + (pixels.isAlpha ? "1" : "0") + ")";
}
