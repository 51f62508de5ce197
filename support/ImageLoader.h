#pragma once
// Image files to pixel blocks: the choice of decoder by the file's name, the
// progress lines and the fatal report for a file that cannot be loaded. None
// of this needs OpenGL; turning the block into a texture comes after.

#include <string>

#include "PixelBlock.h"

enum class ImageFormat { UNKNOWN, JPEG, PNG, TGA };

// The decoder for a file name, by its exact ending: ".jpg", ".JPG", ".jpeg"
// and ".JPEG" are JPEG; ".png" and ".PNG" are PNG; ".tga" in any mix of cases
// is TGA. A JPEG or PNG name must be longer than its ending ("x.png", not
// ".png"); ".tga" alone counts.
ImageFormat imageFormatOf(const std::string& filename);

// Reads and decodes an image file into 8-bit RGB or RGBA pixels at the file's
// own size (row order: PNG and TGA top row first, JPEG last scanline first).
// With `verbose`, prints "Loading image '<name>' ..." and the decoder's tag
// without a line end; `loadImageDoneText` finishes that line. Any failure
// (missing file, unknown ending, bad data) ends the process with the fatal
// report naming the file.
PixelBlock decodeImage(const std::string& filename, bool verbose);

// The smallest power of two that is at least 2 and at least `side`.
int powerOfTwoSide(int side);

// True when a block of these sides must be stretched to powers of two.
bool needsStretch(int width, int height);

// The end of a verbose load line, after any stretch: " (image was streched) "
// when `stretched`, then "... done (width=W height=H isAlpha=0|1)" (no line end).
std::string loadImageDoneText(const PixelBlock& pixels, bool stretched);
