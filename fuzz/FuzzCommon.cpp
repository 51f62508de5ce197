#include "FuzzCommon.h"

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void broken(const char* what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

}  // namespace

void decodeAndCheck(DecodedImage (*decoder)(FILE*, bool), const uint8_t* data, size_t size) {
  FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (file == nullptr) return;
  DecodedImage result = decoder(file, false);
  std::fclose(file);
  if (!result.ok()) {
    if (result.pixels.data) broken("a failure that still holds pixels");
    return;
  }
  const PixelBlock& p = result.pixels;
  if (!p.data) broken("success without pixels");
  if (p.width < 1 || p.height < 1 || p.width > maxImageSide || p.height > maxImageSide) broken("sides out of range");
  // Reading every byte lets AddressSanitizer see a block shorter than its sides.
  unsigned sum = 0;
  for (size_t i = 0; i < p.byteCount(); ++i) sum += p.data[i];
  if (sum == 1u << 31) std::fprintf(stderr, " ");  // keeps the loop from being optimised away
}
