#pragma once
// Our own TGA decoder: image types 1, 2 and 3 (colour-mapped, true-colour and
// grey, uncompressed) and 9, 10 and 11 (the same with run-length packets).

#include <cstdio>

#include "PixelBlock.h"

// Decodes the TGA picture of `file`, positioned at its first byte, into RGB or
// RGBA: grey becomes RGB (grey with alpha RGBA), colour maps of 15, 16, 24 or
// 32 bits per entry are looked up, 16-bit pixels keep 5 bits per channel
// shifted left by 3 (the top bit is ignored), 32-bit pixels and maps keep
// their alpha. Row 0 of the result is the top of the picture, whatever
// corner the file starts in.
//
// Bad files (type 0 or unknown, sides outside 1 to maxImageSide, a depth the
// type does not allow, a colour-map index outside the map, data that ends
// early) give a failure; nothing is read past the file's data and nothing
// larger than the file can describe is allocated. With `verbose`, prints
// "(tga)" first.
DecodedImage loadTga(FILE* file, bool verbose);
