#include "Image.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <iostream>

#include "support/FatalReport.h"
#include "support/GLManager.h"
#include "support/ImageLoader.h"

Image::Image(const std::string& filename, bool verbose) : filename(filename) {
  std::cout << "Loading image '" << filename << "'" << std::endl;
  PixelBlock pixels = loadImage(filename, verbose);
  width = pixels.width;
  height = pixels.height;
  isAlpha = pixels.isAlpha;
  data = std::move(pixels.data);
  textureId = GLManager::createTexture(data.get(), width, height, isAlpha);
}

Image::~Image() {
  std::cout << "Freeing image '" << filename << "'" << std::endl;
  glDeleteTextures(1, &textureId);
}

PixelBlock Image::loadImage(const std::string& filename, bool verbose) {
  PixelBlock pixels = decodeImage(filename, verbose);
  const bool stretched = needsStretch(pixels.width, pixels.height);
  if (stretched) pixels = stretchToPowersOfTwo(pixels, filename);
  if (verbose) std::cout << loadImageDoneText(pixels, stretched) << std::endl;
  return pixels;
}

// The aspect ratio is not kept: each side goes to its own power of two.
PixelBlock Image::stretchToPowersOfTwo(const PixelBlock& pixels, const std::string& filename) {
  PixelBlock stretched;
  stretched.allocate(powerOfTwoSide(pixels.width), powerOfTwoSide(pixels.height), pixels.isAlpha);
  // Rows have no padding, in and out.
  GLint packAlignment = 4, unpackAlignment = 4;
  glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpackAlignment);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  const GLenum format = pixels.isAlpha ? GL_RGBA : GL_RGB;
  const GLint result = gluScaleImage(format, pixels.width, pixels.height, GL_UNSIGNED_BYTE, pixels.data.get(),
                                     stretched.width, stretched.height, GL_UNSIGNED_BYTE, stretched.data.get());
  glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
  glPixelStorei(GL_UNPACK_ALIGNMENT, unpackAlignment);
  if (result != 0) {
    FATAL_ERROR("loadImage: cannot stretch '" + filename + "' to " + std::to_string(stretched.width) + " x " +
                std::to_string(stretched.height) + ": " + reinterpret_cast<const char*>(gluErrorString(result)));
  }
  return stretched;
}
