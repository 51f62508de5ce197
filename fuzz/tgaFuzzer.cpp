// libFuzzer target: our TGA decoder on arbitrary bytes.
#include "FuzzCommon.h"
#include "support/TgaDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  decodeAndCheck(loadTga, data, size);
  return 0;
}
