#include "DecodeHelpers.h"

DecodedImage decodeBytes(ImageDecoder decoder, const std::string& bytes, bool verbose) {
  std::string buffer = bytes;
  FILE* file = fmemopen(buffer.data(), buffer.size(), "rb");
  if (file == nullptr) return DecodedImage::failed("test could not open the bytes", "");
  DecodedImage result = decoder(file, verbose);
  std::fclose(file);
  return result;
}

DecodedImage decodeFile(ImageDecoder decoder, const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return DecodedImage::failed("test could not open", path);
  DecodedImage result = decoder(file, false);
  std::fclose(file);
  return result;
}

std::vector<unsigned char> pixelBytes(const PixelBlock& block) {
  if (!block.data) return {};
  return std::vector<unsigned char>(block.data.get(), block.data.get() + block.byteCount());
}

std::vector<unsigned char> rgbaBytes(const PixelBlock& block) {
  std::vector<unsigned char> out;
  for (int y = 0; y < block.height; ++y)
    for (int x = 0; x < block.width; ++x) {
      const unsigned char* p = block.pixel(x, y);
      out.insert(out.end(), {p[0], p[1], p[2], block.isAlpha ? p[3] : (unsigned char)255});
    }
  return out;
}

std::string imageFixture(const std::string& relative) { return std::string(CUBEWRIGHT_FIXTURES) + "/images/" + relative; }
