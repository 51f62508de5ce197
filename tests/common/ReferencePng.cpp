#include "ReferencePng.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <zlib.h>

namespace {

uint32_t bigEndian32(const std::string& b, size_t at) {
  return uint32_t(uint8_t(b[at])) << 24 | uint32_t(uint8_t(b[at + 1])) << 16 | uint32_t(uint8_t(b[at + 2])) << 8 |
         uint32_t(uint8_t(b[at + 3]));
}

struct Header {
  int width, height, depth, colourType, interlace;
  int channels() const {
    switch (colourType) {
      case 0: return 1;
      case 2: return 3;
      case 3: return 1;
      case 4: return 2;
      default: return 4;
    }
  }
  int bitsPerPixel() const { return channels() * depth; }
  size_t rowBytes(int w) const { return (size_t(w) * size_t(bitsPerPixel()) + 7) / 8; }
};

struct Pass {
  int x0, y0, dx, dy;
};
const Pass adam7[7] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4}, {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
const Pass wholeImage = {0, 0, 1, 1};

int passWidth(const Header& h, const Pass& p) { return (h.width - p.x0 + p.dx - 1) / p.dx; }
int passHeight(const Header& h, const Pass& p) { return (h.height - p.y0 + p.dy - 1) / p.dy; }

int paeth(int a, int b, int c) {
  int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

// Undoes the filters of one pass in place; returns false on a bad filter type.
bool unfilter(unsigned char* data, size_t rowBytes, int rows, size_t bpp) {
  std::vector<unsigned char> previous(rowBytes, 0);
  for (int y = 0; y < rows; ++y) {
    const int filter = data[0];
    unsigned char* row = data + 1;
    for (size_t i = 0; i < rowBytes; ++i) {
      const int a = i >= bpp ? row[i - bpp] : 0, b = previous[i], c = i >= bpp ? previous[i - bpp] : 0;
      int add = 0;
      switch (filter) {
        case 0: break;
        case 1: add = a; break;
        case 2: add = b; break;
        case 3: add = (a + b) / 2; break;
        case 4: add = paeth(a, b, c); break;
        default: return false;
      }
      row[i] = uint8_t(row[i] + add);
    }
    previous.assign(row, row + rowBytes);
    data += rowBytes + 1;
  }
  return true;
}

// Sample `index` of a row packed at `depth` bits.
int sampleAt(const unsigned char* row, size_t index, int depth) {
  if (depth == 16) return row[index * 2] << 8 | row[index * 2 + 1];
  if (depth == 8) return row[index];
  const size_t bit = index * size_t(depth);
  return (row[bit / 8] >> (8 - depth - int(bit % 8))) & ((1 << depth) - 1);
}

// A tRNS key sample: 16 bits big-endian at `at`.
int keyAt(const std::string& t, size_t at) { return uint8_t(t[at]) << 8 | uint8_t(t[at + 1]); }

int toEightBits(int sample, int depth) {
  if (depth == 16) return sample >> 8;
  return sample * 255 / ((1 << depth) - 1);
}

struct Chunks {
  Header header{};
  std::string palette, transparency, compressed;
};

std::string readChunks(const std::string& bytes, Chunks& out) {
  static const std::string signature = "\x89PNG\r\n\x1a\n";
  if (bytes.compare(0, 8, signature) != 0) return "no signature";
  bool haveHeader = false;
  for (size_t at = 8; at + 12 <= bytes.size();) {
    const uint32_t length = bigEndian32(bytes, at);
    if (length > bytes.size() - at - 12) return "chunk runs past the end";
    const std::string type = bytes.substr(at + 4, 4), data = bytes.substr(at + 8, length);
    const uint32_t crc = uint32_t(crc32(0, reinterpret_cast<const Bytef*>(bytes.data() + at + 4), length + 4));
    if (crc != bigEndian32(bytes, at + 8 + length)) return "bad CRC in " + type;
    if (type == "IHDR" && length == 13) {
      out.header = {int(bigEndian32(data, 0)), int(bigEndian32(data, 4)), uint8_t(data[8]), uint8_t(data[9]),
                    uint8_t(data[12])};
      haveHeader = true;
    }
    if (type == "PLTE") out.palette = data;
    if (type == "tRNS") out.transparency = data;
    if (type == "IDAT") out.compressed += data;
    if (type == "IEND") return haveHeader ? "" : "no IHDR";
    at += 12 + length;
  }
  return "no IEND";
}

// Writes one decoded pass into the picture.
void placePass(const Chunks& c, const Pass& pass, const unsigned char* data, ReferencePicture& out) {
  const Header& h = c.header;
  const int w = passWidth(h, pass), rows = passHeight(h, pass), channels = h.channels();
  const size_t rowBytes = h.rowBytes(w);
  const std::string& t = c.transparency;
  for (int py = 0; py < rows; ++py, data += rowBytes + 1) {
    for (int px = 0; px < w; ++px) {
      int s[4];
      for (int k = 0; k < channels; ++k) s[k] = sampleAt(data + 1, size_t(px * channels + k), h.depth);
      unsigned char* pixel = &out.rgba[(size_t(pass.y0 + py * pass.dy) * size_t(h.width) + size_t(pass.x0 + px * pass.dx)) * 4];
      int r, g, b, a = 255;
      if (h.colourType == 3) {
        const size_t i = size_t(s[0]);
        r = i * 3 + 2 < c.palette.size() ? uint8_t(c.palette[i * 3]) : 0;
        g = i * 3 + 2 < c.palette.size() ? uint8_t(c.palette[i * 3 + 1]) : 0;
        b = i * 3 + 2 < c.palette.size() ? uint8_t(c.palette[i * 3 + 2]) : 0;
        if (i < t.size()) a = uint8_t(t[i]);
      } else if (channels <= 2) {
        r = g = b = toEightBits(s[0], h.depth);
        if (channels == 2) a = toEightBits(s[1], h.depth);
        if (channels == 1 && t.size() >= 2 && s[0] == keyAt(t, 0)) a = 0;
      } else {
        r = toEightBits(s[0], h.depth);
        g = toEightBits(s[1], h.depth);
        b = toEightBits(s[2], h.depth);
        if (channels == 4) a = toEightBits(s[3], h.depth);
        if (channels == 3 && t.size() >= 6 && s[0] == keyAt(t, 0) && s[1] == keyAt(t, 2) && s[2] == keyAt(t, 4)) a = 0;
      }
      pixel[0] = uint8_t(r);
      pixel[1] = uint8_t(g);
      pixel[2] = uint8_t(b);
      pixel[3] = uint8_t(a);
    }
  }
}

}  // namespace

ReferencePicture readReferencePng(const std::string& bytes) {
  ReferencePicture out;
  Chunks c;
  out.problem = readChunks(bytes, c);
  if (!out.problem.empty()) return out;
  const Header& h = c.header;
  const bool interlaced = h.interlace == 1;
  std::vector<Pass> passes;
  if (interlaced) passes.assign(adam7, adam7 + 7);
  else passes.push_back(wholeImage);
  size_t rawSize = 0;
  for (const Pass& p : passes)
    if (passWidth(h, p) > 0 && passHeight(h, p) > 0) rawSize += (h.rowBytes(passWidth(h, p)) + 1) * size_t(passHeight(h, p));
  std::vector<unsigned char> raw(rawSize);
  uLongf rawLength = uLongf(rawSize);
  if (uncompress(raw.data(), &rawLength, reinterpret_cast<const Bytef*>(c.compressed.data()), uLong(c.compressed.size())) != Z_OK ||
      rawLength != rawSize) {
    out.problem = "inflate failed";
    return out;
  }
  out.width = h.width;
  out.height = h.height;
  out.hasAlpha = h.colourType == 4 || h.colourType == 6 || !c.transparency.empty();
  out.rgba.assign(size_t(h.width) * size_t(h.height) * 4, 0);
  const size_t bpp = size_t(std::max(1, h.bitsPerPixel() / 8));
  unsigned char* data = raw.data();
  for (const Pass& p : passes) {
    const int w = passWidth(h, p), rows = passHeight(h, p);
    if (w <= 0 || rows <= 0) continue;
    if (!unfilter(data, h.rowBytes(w), rows, bpp)) {
      out.problem = "bad filter type";
      return out;
    }
    placePass(c, p, data, out);
    data += (h.rowBytes(w) + 1) * size_t(rows);
  }
  return out;
}
