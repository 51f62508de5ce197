#include "TgaDecoder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <iostream>
#include <vector>

namespace {

const char* const tgaFailure = "loadTga : cannot load tga file";

enum TgaType { COLOUR_MAPPED = 1, TRUE_COLOUR = 2, GREY = 3, RLE_COLOUR_MAPPED = 9, RLE_TRUE_COLOUR = 10, RLE_GREY = 11 };

const unsigned char ORIGIN_TOP = 0x20;    // descriptor bit: the first stored row is the top one
const unsigned char ORIGIN_RIGHT = 0x10;  // descriptor bit: each stored row runs right to left

struct TgaHeader {
  int idLength;
  int colourMapType;
  int imageType;
  int mapFirst;      // index of the first colour-map entry
  int mapLength;     // number of entries (signed 16-bit in the file)
  int mapEntryBits;
  int width, height; // signed 16-bit in the file
  int pixelBits;
  int descriptor;
};

int unsigned16(const unsigned char* p) { return p[0] | (p[1] << 8); }
int signed16(const unsigned char* p) { return int16_t(uint16_t(unsigned16(p))); }

TgaHeader parseHeader(const unsigned char* b) {
  return TgaHeader{b[0], b[1], b[2], unsigned16(b + 3), signed16(b + 5), b[7],
                   signed16(b + 12), signed16(b + 14), b[16], b[17]};
}

bool isColourMapped(int type) { return type == COLOUR_MAPPED || type == RLE_COLOUR_MAPPED; }
bool isGrey(int type) { return type == GREY || type == RLE_GREY; }
bool isRunLength(int type) { return type >= RLE_COLOUR_MAPPED; }

bool depthAllowed(const TgaHeader& h) {
  if (isColourMapped(h.imageType)) return h.pixelBits == 8;
  if (isGrey(h.imageType)) return h.pixelBits == 8 || h.pixelBits == 16;
  return h.pixelBits == 15 || h.pixelBits == 16 || h.pixelBits == 24 || h.pixelBits == 32;
}

// The header's problem, or an empty string when the image can be decoded.
std::string headerProblem(const TgaHeader& h) {
  const int t = h.imageType;
  if (t == 0) return "image type 0 holds no image data";
  if (t != COLOUR_MAPPED && t != TRUE_COLOUR && t != GREY && t != RLE_COLOUR_MAPPED && t != RLE_TRUE_COLOUR &&
      t != RLE_GREY)
    return "unknown TGA image type " + std::to_string(t);
  if (h.width < 1 || h.height < 1 || h.width > maxImageSide || h.height > maxImageSide)
    return "image size " + std::to_string(h.width) + " x " + std::to_string(h.height) + " is not between 1 and " +
           std::to_string(maxImageSide) + " pixels per side";
  if (!depthAllowed(h))
    return "pixel depth " + std::to_string(h.pixelBits) + " is not supported for image type " + std::to_string(t);
  if (h.colourMapType != 0 && h.mapLength < 0)
    return "colour map length " + std::to_string(h.mapLength) + " is negative";
  if (isColourMapped(t)) {
    if (h.colourMapType == 0 || h.mapLength == 0) return "colour-mapped image without a colour map";
    if (h.mapEntryBits != 15 && h.mapEntryBits != 16 && h.mapEntryBits != 24 && h.mapEntryBits != 32)
      return "colour map entry size " + std::to_string(h.mapEntryBits) + " is not supported";
  }
  return "";
}

// Reads up to `limit` bytes; the buffer grows only as data arrives, so a
// short file never makes it large.
std::vector<unsigned char> readUpTo(FILE* file, size_t limit) {
  std::vector<unsigned char> bytes;
  while (bytes.size() < limit) {
    size_t old = bytes.size();
    size_t chunk = std::min(limit - old, size_t(1) << 20);
    bytes.resize(old + chunk);
    size_t got = std::fread(bytes.data() + old, 1, chunk, file);
    bytes.resize(old + got);
    if (got < chunk) break;
  }
  return bytes;
}

// 5 bits per channel, little-endian: bits 14-10 red, 9-5 green, 4-0 blue.
void fromBgr555(const unsigned char* in, unsigned char* out) {
  int word = unsigned16(in);
  out[0] = uint8_t(((word >> 10) & 31) << 3);
  out[1] = uint8_t(((word >> 5) & 31) << 3);
  out[2] = uint8_t((word & 31) << 3);
}

// Turns one stored pixel (or colour-map entry) into RGB or RGBA.
class PixelConverter {
 public:
  PixelConverter(const TgaHeader& header, std::vector<std::array<unsigned char, 4>> map)
      : type(header.imageType), bits(header.pixelBits), mapFirst(header.mapFirst), map(std::move(map)) {}

  // False when a colour-map index lies outside the map; `badIndex` says which.
  bool convert(const unsigned char* in, unsigned char* out) {
    if (isColourMapped(type)) {
      int entry = in[0] - mapFirst;
      if (entry < 0 || entry >= int(map.size())) {
        badIndex = in[0];
        return false;
      }
      std::memcpy(out, map[size_t(entry)].data(), 4);  // the block always has room for 4 bytes here
      return true;
    }
    if (isGrey(type)) {
      out[0] = out[1] = out[2] = in[0];
      if (bits == 16) out[3] = in[1];
      return true;
    }
    if (bits <= 16) {
      fromBgr555(in, out);
      return true;
    }
    out[0] = in[2];
    out[1] = in[1];
    out[2] = in[0];
    if (bits == 32) out[3] = in[3];
    return true;
  }

  int badIndex = -1;

 private:
  int type;
  int bits;
  int mapFirst;
  std::vector<std::array<unsigned char, 4>> map;
};

std::vector<std::array<unsigned char, 4>> parseColourMap(const std::vector<unsigned char>& bytes, int entryBits) {
  const size_t entryBytes = size_t(entryBits + 7) / 8;
  std::vector<std::array<unsigned char, 4>> map(bytes.size() / entryBytes);
  for (size_t i = 0; i < map.size(); ++i) {
    const unsigned char* in = &bytes[i * entryBytes];
    std::array<unsigned char, 4>& out = map[i];
    out[3] = 255;
    if (entryBits <= 16) {
      fromBgr555(in, out.data());
    } else {
      out = {in[2], in[1], in[0], entryBits == 32 ? in[3] : uint8_t(255)};
    }
  }
  return map;
}

std::string endsEarly(size_t pixel, size_t count) {
  return "data ends early, at pixel " + std::to_string(pixel) + " of " + std::to_string(count);
}

// Decodes `count` stored pixels of `inBytes` bytes each from `data` into
// `out` (`outBytes` per pixel), in stored order. Returns the problem, if any.
std::string decodePixels(const std::vector<unsigned char>& data, bool runLength, size_t count, size_t inBytes,
                         PixelConverter& converter, unsigned char* out, size_t outBytes) {
  unsigned char scratch[4];  // one converted pixel; a colour-map entry may bring 4 bytes for a 3-byte block
  size_t pos = 0;
  size_t done = 0;
  while (done < count) {
    size_t run = 1;
    bool repeated = false;
    if (runLength) {
      if (pos >= data.size()) return endsEarly(done, count);
      const unsigned char packet = data[pos++];
      run = std::min(size_t(packet & 127) + 1, count - done);  // a packet past the last pixel is cut short
      repeated = (packet & 128) != 0;
    }
    const size_t needed = repeated ? inBytes : run * inBytes;
    if (data.size() - pos < needed) return endsEarly(done, count);
    for (size_t i = 0; i < run; ++i) {
      if (i == 0 || !repeated) {
        if (!converter.convert(&data[pos], scratch))
          return "colour map index " + std::to_string(converter.badIndex) + " lies outside the map";
        if (!repeated) pos += inBytes;
      }
      std::memcpy(out + (done + i) * outBytes, scratch, outBytes);
    }
    if (repeated) pos += inBytes;
    done += run;
  }
  return "";
}

// Puts the top row first and every row left to right.
void orient(PixelBlock& block, int descriptor) {
  const size_t rowBytes = block.rowBytes();
  if (!(descriptor & ORIGIN_TOP)) {
    for (int top = 0, bottom = block.height - 1; top < bottom; ++top, --bottom)
      std::swap_ranges(block.row(top), block.row(top) + rowBytes, block.row(bottom));
  }
  if (descriptor & ORIGIN_RIGHT) {
    const size_t bpp = size_t(block.bytesPerPixel());
    for (int y = 0; y < block.height; ++y) {
      unsigned char* row = block.row(y);
      for (size_t left = 0, right = size_t(block.width) - 1; left < right; ++left, --right)
        std::swap_ranges(row + left * bpp, row + (left + 1) * bpp, row + right * bpp);
    }
  }
}

bool outputHasAlpha(const TgaHeader& h) {
  if (isColourMapped(h.imageType)) return h.mapEntryBits == 32;
  if (isGrey(h.imageType)) return h.pixelBits == 16;
  return h.pixelBits == 32;
}

// The fewest bytes that can hold `count` pixels: one packet per 128 pixels
// when run-length coded.
size_t leastDataBytes(bool runLength, size_t count, size_t inBytes) {
  return runLength ? (count + 127) / 128 * (1 + inBytes) : count * inBytes;
}

}  // namespace

DecodedImage loadTga(FILE* file, bool verbose) {
  if (verbose) std::cout << "(tga)" << std::flush;
  const std::vector<unsigned char> headerBytes = readUpTo(file, 18);
  if (headerBytes.size() < 18) return DecodedImage::failed(tgaFailure, "data ends early, in the 18-byte header");
  const TgaHeader header = parseHeader(headerBytes.data());
  std::string problem = headerProblem(header);
  if (!problem.empty()) return DecodedImage::failed(tgaFailure, problem);

  if (readUpTo(file, size_t(header.idLength)).size() < size_t(header.idLength))
    return DecodedImage::failed(tgaFailure, "data ends early, in the identification field");
  std::vector<std::array<unsigned char, 4>> map;
  if (header.colourMapType != 0) {
    const size_t mapBytes = size_t(header.mapLength) * size_t((header.mapEntryBits + 7) / 8);
    const std::vector<unsigned char> mapData = readUpTo(file, mapBytes);
    if (mapData.size() < mapBytes) return DecodedImage::failed(tgaFailure, "data ends early, in the colour map");
    if (isColourMapped(header.imageType)) map = parseColourMap(mapData, header.mapEntryBits);
  }

  const bool runLength = isRunLength(header.imageType);
  const size_t count = size_t(header.width) * size_t(header.height);
  const size_t inBytes = size_t(header.pixelBits + 7) / 8;
  const std::vector<unsigned char> data = readUpTo(file, runLength ? count * (1 + inBytes) : count * inBytes);
  if (data.size() < leastDataBytes(runLength, count, inBytes))
    return DecodedImage::failed(tgaFailure, "data ends early: " + std::to_string(count) + " pixels need at least " +
                                                std::to_string(leastDataBytes(runLength, count, inBytes)) +
                                                " bytes, the file holds " + std::to_string(data.size()));

  DecodedImage result;
  result.pixels.allocate(header.width, header.height, outputHasAlpha(header));
  PixelConverter converter(header, std::move(map));
  problem = decodePixels(data, runLength, count, inBytes, converter, result.pixels.data.get(),
                         size_t(result.pixels.bytesPerPixel()));
  if (!problem.empty()) return DecodedImage::failed(tgaFailure, problem);
  orient(result.pixels, header.descriptor);
  return result;
}
