// libFuzzer target: the JPEG decoding path (libjpeg's standard sequence with
// our error routines) on arbitrary bytes.
#include <cstdio>

#include "FuzzCommon.h"
#include "support/JpegDecoder.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The decoder prints two lines per call on standard output.
  if (std::freopen("/dev/null", "w", stdout) == nullptr) return 1;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  decodeAndCheck(loadJpeg, data, size);
  return 0;
}
