// libFuzzer target: the PNG decoding path (libpng with our limits, chunk
// handling, transformations and error jumps) on arbitrary bytes.
#include <vector>
#include <zlib.h>

#include "FuzzCommon.h"
#include "support/PngDecoder.h"

namespace {

uint32_t bigEndian32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

// Mutated files would almost all stop at libpng's first CRC check; give
// every complete chunk its right CRC so that the fuzzer reaches further.
void repairChunkCrcs(std::vector<uint8_t>& bytes) {
  for (size_t at = 8; at + 12 <= bytes.size();) {
    const uint32_t length = bigEndian32(&bytes[at]);
    if (length > bytes.size() - at - 12) return;
    const uint32_t crc = uint32_t(crc32(0, &bytes[at + 4], length + 4));
    for (int i = 0; i < 4; ++i) bytes[at + 8 + length + size_t(i)] = uint8_t(crc >> (24 - 8 * i));
    at += 12 + length;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> bytes(data, data + size);
  if (size % 2 == 1) repairChunkCrcs(bytes);  // inputs of even size keep their CRCs as they are
  decodeAndCheck(read_png_file, bytes.data(), bytes.size());
  return 0;
}
