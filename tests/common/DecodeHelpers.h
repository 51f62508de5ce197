#pragma once
// Helpers for image decoder tests: decoding bytes held in memory, and pixel
// blocks as plain byte lists for comparisons that print what differs.

#include <cstdio>
#include <string>
#include <vector>

#include "support/PixelBlock.h"

using ImageDecoder = DecodedImage (*)(FILE* file, bool verbose);

// Runs `decoder` on `bytes` through an in-memory stream.
DecodedImage decodeBytes(ImageDecoder decoder, const std::string& bytes, bool verbose = false);

// Runs `decoder` on a file.
DecodedImage decodeFile(ImageDecoder decoder, const std::string& path);

// The block's bytes, row 0 first.
std::vector<unsigned char> pixelBytes(const PixelBlock& block);

// The block as RGBA (alpha 255 added to RGB blocks).
std::vector<unsigned char> rgbaBytes(const PixelBlock& block);

// Full path of a file under tests/fixtures/images/.
std::string imageFixture(const std::string& relative);
