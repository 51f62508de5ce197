#pragma once
// What every image fuzz target does with one input.

#include <cstddef>
#include <cstdint>

#include "support/PixelBlock.h"

// Decodes `size` bytes with `decoder` through an in-memory stream and checks
// what came back: a failure without pixels, or a block whose sides and
// layout are in range and whose every byte can be read.
void decodeAndCheck(DecodedImage (*decoder)(FILE*, bool), const uint8_t* data, size_t size);
