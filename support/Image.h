#pragma once
// One loaded picture: its pixels, stretched to power-of-two sides, and the
// OpenGL texture made from them. The pixels stay next to the texture (the
// terrain generator reads them); the font frees them once it has scanned
// them. Images are shared between sprites by the sprite manager.

#include <memory>
#include <string>

#include "support/PixelBlock.h"

class Image {
 public:
  // Prints "Loading image '<name>'", loads the pixels and makes the texture.
  // Any failure (missing file, unknown format, bad data) is fatal.
  Image(const std::string& filename, bool verbose);
  // Prints "Freeing image '<name>'" and deletes the texture.
  ~Image();
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;

  bool getIsAlpha() const { return isAlpha; }
  // Frees the pixels; the texture, the sides and the layout stay.
  void freeData() { data.reset(); }

  // Decodes the file and stretches the pixels to power-of-two sides (at
  // least 2) with GLU's scaler; needs a current GL context. With `verbose`,
  // prints the progress line "Loading image '<name>' ...", the decoder's
  // tag, " (image was streched) " when stretched, and "... done (width=W
  // height=H isAlpha=0|1)".
  static PixelBlock loadImage(const std::string& filename, bool verbose);

  // `height` rows of `width` pixels, 3 or 4 bytes each (red, green, blue(,
  // alpha)), no row padding; the first row is texture row t = 0. Null after
  // freeData.
  std::unique_ptr<unsigned char[]> data;
  int width = 0;   // powers of two, at least 2
  int height = 0;
  bool isAlpha = false;  // 4 bytes per pixel when set, else 3
  unsigned int textureId = 0;
  std::string filename;  // as given to the constructor

 private:
  static PixelBlock stretchToPowersOfTwo(const PixelBlock& pixels, const std::string& filename);
};
