#pragma once
// A decoded picture: 8-bit RGB or RGBA pixels, rows one after another with no
// padding, and what an image decoder hands back.

#include <cstddef>
#include <memory>
#include <string>
#include <utility>

// Longest side accepted from any image file. Every decoder checks the sides
// against it before it allocates a pixel, so no file can ask for more than
// maxImageSide² × 4 bytes (1 GiB).
constexpr int maxImageSide = 16384;

struct PixelBlock {
  std::unique_ptr<unsigned char[]> data;  // `height` rows of `width` pixels
  int width = 0;
  int height = 0;
  bool isAlpha = false;  // 4 bytes per pixel (red, green, blue, alpha) when set, else 3

  int bytesPerPixel() const { return isAlpha ? 4 : 3; }
  size_t rowBytes() const { return size_t(width) * size_t(bytesPerPixel()); }
  size_t byteCount() const { return rowBytes() * size_t(height); }
  unsigned char* row(int y) { return data.get() + rowBytes() * size_t(y); }
  const unsigned char* row(int y) const { return data.get() + rowBytes() * size_t(y); }
  const unsigned char* pixel(int x, int y) const { return row(y) + size_t(x) * size_t(bytesPerPixel()); }

  // Makes room for a w x h block of the given layout. The bytes are left
  // uninitialised: a decoder writes every one of them or fails, and pages it
  // never reaches (a file that ends early) are never touched.
  void allocate(int w, int h, bool alpha) {
    width = w;
    height = h;
    isAlpha = alpha;
    data.reset(new unsigned char[byteCount()]);
  }
};

// What a decoder gives back: the pixels, or the reason there are none. The
// decoders never end the process themselves; the image loader turns a failure
// into the fatal report, adding the file's name.
struct DecodedImage {
  PixelBlock pixels;
  std::string failure;  // empty on success, else the loader's text for it ("loadTga : cannot load tga file")
  std::string detail;   // what was wrong, in the library's or the decoder's words; may be empty
  bool ok() const { return failure.empty(); }

  static DecodedImage failed(std::string failure, std::string detail) {
    DecodedImage result;
    result.failure = std::move(failure);
    result.detail = std::move(detail);
    return result;
  }
};
