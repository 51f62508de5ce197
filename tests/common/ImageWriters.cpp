#include "ImageWriters.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <png.h>

namespace {

// Plain-data half of the PNG writer: libpng's errors jump back here.
bool writePngRows(png_structp png, png_infop info, FILE* file, const PngPicture& picture, png_bytepp rows,
                  png_colorp palette) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_init_io(png, file);
  png_set_IHDR(png, info, png_uint_32(picture.width), png_uint_32(picture.height), picture.bitDepth,
               picture.colourType, picture.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!picture.palette.empty()) png_set_PLTE(png, info, palette, int(picture.palette.size() / 3));
  if (!picture.transparency.empty()) {
    const std::vector<unsigned char>& t = picture.transparency;
    if (picture.colourType == PNG_COLOR_TYPE_PALETTE) {
      png_set_tRNS(png, info, t.data(), int(t.size()), nullptr);
    } else {
      png_color_16 key{};
      key.gray = png_uint_16((t[0] << 8) | t[1]);
      if (t.size() >= 6) {
        key.red = key.gray;
        key.green = png_uint_16((t[2] << 8) | t[3]);
        key.blue = png_uint_16((t[4] << 8) | t[5]);
      }
      png_set_tRNS(png, info, nullptr, 0, &key);
    }
  }
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

bool writePng(const std::string& path, const PngPicture& picture) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  const size_t rowBytes = picture.samples.size() / size_t(picture.height);
  std::vector<png_bytep> rows;
  for (int y = 0; y < picture.height; ++y)
    rows.push_back(const_cast<png_bytep>(picture.samples.data()) + rowBytes * size_t(y));
  std::vector<png_color> palette;
  for (size_t i = 0; i + 2 < picture.palette.size(); i += 3)
    palette.push_back({picture.palette[i], picture.palette[i + 1], picture.palette[i + 2]});
  const bool ok = writePngRows(png, info, file, picture, rows.data(), palette.data());
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0 && ok;
}

bool writePicture(const std::string& path, int width, int height, bool alpha,
                  const std::function<Color(int x, int y)>& colourAt) {
  PngPicture picture;
  picture.width = width;
  picture.height = height;
  picture.colourType = alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const Color c = colourAt(x, y);
      picture.samples.insert(picture.samples.end(), {c.r, c.g, c.b});
      if (alpha) picture.samples.push_back(c.a);
    }
  return writePng(path, picture);
}

bool writeJpeg(const std::string& path, int width, int height, int components,
               const std::vector<unsigned char>& pixels) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);  // the test pictures are valid: libjpeg's own exit is enough
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = JDIMENSION(width);
  info.image_height = JDIMENSION(height);
  info.input_components = components;
  info.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 100, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(&pixels[size_t(info.next_scanline) * size_t(width * components)]);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return std::fclose(file) == 0;
}

std::string tgaBytes(const TgaHeaderFields& h, const std::vector<unsigned char>& rest) {
  auto low = [](int v) { return char(v & 255); };
  auto high = [](int v) { return char((v >> 8) & 255); };
  std::string bytes = {low(h.idLength),  low(h.colourMapType), low(h.imageType), low(h.mapFirst),
                       high(h.mapFirst), low(h.mapLength),     high(h.mapLength), low(h.mapEntryBits),
                       0,                0,                    0,                 0,
                       low(h.width),     high(h.width),        low(h.height),     high(h.height),
                       low(h.pixelBits), low(h.descriptor)};
  bytes.append(rest.begin(), rest.end());
  return bytes;
}
