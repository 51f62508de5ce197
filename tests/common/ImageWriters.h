#pragma once
// Small writers for test pictures: PNG and JPEG through libpng and libjpeg,
// TGA byte by byte, so that every layout a decoder handles can be made on the
// spot with known pixels.

#include <functional>
#include <string>
#include <vector>

#include "support/Color.h"

// A PNG as it is stored: `samples` holds the rows exactly as PNG packs them
// (sub-byte samples packed from the high bit, 16-bit samples big-endian).
struct PngPicture {
  int width = 0;
  int height = 0;
  int colourType = 2;  // PNG_COLOR_TYPE_*: 0 grey, 2 RGB, 3 palette, 4 grey+alpha, 6 RGBA
  int bitDepth = 8;
  bool interlaced = false;
  std::vector<unsigned char> samples;
  std::vector<unsigned char> palette;       // colour type 3: red, green, blue per entry
  std::vector<unsigned char> transparency;  // tRNS: palette alphas, or a grey / RGB key as PNG stores it
};

// Writes the picture; false when libpng refuses it.
bool writePng(const std::string& path, const PngPicture& picture);

// Writes an 8-bit RGBA PNG (RGB when `alpha` is false, the alpha of
// `colourAt` dropped) with the colour of each pixel, top row first.
bool writePicture(const std::string& path, int width, int height, bool alpha,
                  const std::function<Color(int x, int y)>& colourAt);

// Writes a baseline JPEG at quality 100 from `pixels` (RGB when
// `components` is 3, grey when 1), rows top first.
bool writeJpeg(const std::string& path, int width, int height, int components,
               const std::vector<unsigned char>& pixels);

// The 18-byte TGA header. Sides are written as signed 16-bit values.
struct TgaHeaderFields {
  int idLength = 0;
  int colourMapType = 0;
  int imageType = 2;
  int mapFirst = 0;
  int mapLength = 0;
  int mapEntryBits = 0;
  int width = 1;
  int height = 1;
  int pixelBits = 24;
  int descriptor = 0;
};

// Header, then `rest` (identification field, colour map and pixel data as
// the test wants them), as one string ready for TempDir::write.
std::string tgaBytes(const TgaHeaderFields& header, const std::vector<unsigned char>& rest);
