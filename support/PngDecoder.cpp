#include "PngDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <iostream>
#include <png.h>
#include <vector>

namespace {

const char* const notPng = "[read_png_file] File is not recognized as a PNG file";
const char* const createReadFailed = "[read_png_file] png_create_read_struct failed";
const char* const createInfoFailed = "[read_png_file] png_create_info_struct failed";
const char* const initIoFailed = "[read_png_file] Error during init_io";
const char* const readImageFailed = "[read_png_file] Error during read_image";

// Largest chunk libpng may allocate.
const png_alloc_size_t maxChunkBytes = png_alloc_size_t(8) << 20;

// Ancillary chunks whose content we never use (colour profiles, text, time,
// ...). libpng skips them without reading them into memory: a damaged length
// in one of them cannot make it allocate gigabytes.
const png_byte unusedChunks[] =
    "bKGD\0cHRM\0eXIf\0gAMA\0hIST\0iCCP\0iTXt\0oFFs\0pCAL\0pHYs\0sBIT\0sCAL\0sPLT\0sRGB\0sTER\0"
    "tEXt\0tIME\0zTXt";
const int unusedChunkCount = 18;

// What libpng's callbacks share with the reader. It holds only plain data and
// lives in the caller's frame, so a jump back from libpng skips no destructor
// and leaves nothing in an undefined state.
struct PngRead {
  png_structp png = nullptr;
  png_infop info = nullptr;
  char complaint[512] = "";
  char lastWarning[256] = "";
};

// libpng calls this on any error and must not get control back: keep the
// complaint and jump to the return point of the step under way.
[[noreturn]] void onPngError(png_structp png, png_const_charp message) {
  PngRead* read = static_cast<PngRead*>(png_get_error_ptr(png));
  const char* text = message != nullptr ? message : "unknown error";
  if (read->lastWarning[0] != 0)  // libpng often warns with the reason, then errs in general terms
    std::snprintf(read->complaint, sizeof read->complaint, "%s (%s)", text, read->lastWarning);
  else
    std::snprintf(read->complaint, sizeof read->complaint, "%s", text);
  png_longjmp(png, 1);
}

// Warnings (odd ancillary chunks, unusual colour profiles) do not stop a
// load; the last one explains an error that follows it.
void onPngWarning(png_structp png, png_const_charp message) {
  PngRead* read = static_cast<PngRead*>(png_get_error_ptr(png));
  std::snprintf(read->lastWarning, sizeof read->lastWarning, "%s", message != nullptr ? message : "");
}

// Reads the header and asks libpng for 8-bit RGB or RGBA rows. Only plain
// data lives in this frame: libpng's errors jump back into it.
bool readHeader(PngRead* read, FILE* file) {
  png_structp png = read->png;
  png_infop info = read->info;
  if (setjmp(png_jmpbuf(png))) return false;
  png_init_io(png, file);
  png_set_sig_bytes(png, 8);
  png_set_user_limits(png, maxImageSide, maxImageSide);
  png_set_chunk_malloc_max(png, maxChunkBytes);
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, unusedChunks, unusedChunkCount);
  png_read_info(png, info);
  const int colourType = png_get_color_type(png, info);
  const int bitDepth = png_get_bit_depth(png, info);
  if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
  if (bitDepth == 16) png_set_strip_16(png);
  if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  return true;
}

// Reads every row (all passes of an interlaced picture) into `rows`.
bool readRows(PngRead* read, png_bytepp rows) {
  if (setjmp(png_jmpbuf(read->png))) return false;
  png_read_image(read->png, rows);
  return true;
}

DecodedImage readImage(PngRead& read, FILE* file) {
  if (!readHeader(&read, file)) return DecodedImage::failed(initIoFailed, read.complaint);
  const int width = int(png_get_image_width(read.png, read.info));
  const int height = int(png_get_image_height(read.png, read.info));
  const int channels = png_get_channels(read.png, read.info);
  const bool layoutOk = png_get_bit_depth(read.png, read.info) == 8 && (channels == 3 || channels == 4) &&
                        png_get_rowbytes(read.png, read.info) == size_t(width) * size_t(channels);
  if (!layoutOk) return DecodedImage::failed(initIoFailed, "no 8-bit RGB or RGBA layout for this image");

  DecodedImage result;
  result.pixels.allocate(width, height, channels == 4);
  std::vector<png_bytep> rows(static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) rows[size_t(y)] = result.pixels.row(y);
  if (!readRows(&read, rows.data())) return DecodedImage::failed(readImageFailed, read.complaint);
  return result;
}

}  // namespace

DecodedImage read_png_file(FILE* file, bool verbose) {
  if (verbose) std::cout << "(png)" << std::flush;
  png_byte signature[8];
  if (std::fread(signature, 1, 8, file) != 8 || png_sig_cmp(signature, 0, 8) != 0)
    return DecodedImage::failed(notPng, "");

  PngRead read;
  read.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &read, onPngError, onPngWarning);
  if (read.png == nullptr) return DecodedImage::failed(createReadFailed, "");
  read.info = png_create_info_struct(read.png);
  if (read.info == nullptr) {
    png_destroy_read_struct(&read.png, nullptr, nullptr);
    return DecodedImage::failed(createInfoFailed, "");
  }
  DecodedImage result = readImage(read, file);
  png_destroy_read_struct(&read.png, &read.info, nullptr);
  return result;
}
