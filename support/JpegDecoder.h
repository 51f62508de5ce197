#pragma once
// JPEG decoding through libjpeg's standard decompression sequence.

#include <cstdio>

#include "PixelBlock.h"

// Decodes the JPEG picture of `file`, positioned at its first byte, into RGB
// (grey pictures included; never alpha). Row 0 of the result is the
// picture's last scanline: the rows are stored bottom first. Prints "chmu1"
// and "chmu2" lines on standard output on every call. A file that libjpeg
// rejects, that ends early or whose sides exceed maxImageSide gives a
// failure with libjpeg's message as the detail. With `verbose`, prints
// "(jpeg)" first.
DecodedImage loadJpeg(FILE* file, bool verbose);
