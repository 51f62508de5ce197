#pragma once
// PNG decoding through libpng's standard read sequence.

#include <cstdio>

#include "PixelBlock.h"

// Decodes the PNG picture of `file`, positioned at its first byte. Every
// layout is delivered as 8-bit RGB or RGBA, row 0 being the top row: grey
// and palette pixels are expanded to RGB, transparency (tRNS) becomes an
// alpha channel, 16-bit samples keep their most significant byte and
// interlaced pictures are put together. A file that is not a PNG, or that
// libpng rejects (sides above maxImageSide included), gives a failure with
// libpng's complaint as the detail. With `verbose`, prints "(png)" first.
DecodedImage read_png_file(FILE* file, bool verbose);
