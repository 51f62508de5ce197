#include "JpegDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <iostream>
// jpeglib.h needs <cstdio> before it.
#include <jerror.h>
#include <jpeglib.h>

namespace {

const char* const jpegFailure = "loadJpeg : cannot load jpeg file";

// Everything libjpeg and its error routines share. Plain data in the caller's
// frame: a jump back from libjpeg skips no destructor.
struct JpegRead {
  jpeg_decompress_struct decompressor;
  jpeg_error_mgr errors;
  std::jmp_buf returnPoint;
  void (*defaultEmitMessage)(j_common_ptr, int);
  char complaint[JMSG_LENGTH_MAX];
};

// libjpeg's exit routine: keep its message and jump to the return point.
[[noreturn]] void onJpegError(j_common_ptr info) {
  JpegRead* read = static_cast<JpegRead*>(info->client_data);
  (*info->err->format_message)(info, read->complaint);
  std::longjmp(read->returnPoint, 1);
}

// libjpeg goes on after a file that ends early, filling the rest of the
// picture with grey; for us that is a broken file. Other warnings are
// printed by libjpeg as usual.
void onJpegMessage(j_common_ptr info, int level) {
  if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) onJpegError(info);
  static_cast<JpegRead*>(info->client_data)->defaultEmitMessage(info, level);
}

// The standard decompression sequence into `out`, rows in reverse order.
// Only plain data lives in this frame: libjpeg's errors jump back into it.
bool decompress(JpegRead* read, FILE* file, PixelBlock* out) {
  j_decompress_ptr info = &read->decompressor;
  if (setjmp(read->returnPoint)) return false;
  jpeg_create_decompress(info);
  jpeg_stdio_src(info, file);
  jpeg_read_header(info, TRUE);
  if (info->image_width > JDIMENSION(maxImageSide) || info->image_height > JDIMENSION(maxImageSide)) {
    std::snprintf(read->complaint, sizeof read->complaint, "image size %u x %u exceeds %d pixels per side",
                  info->image_width, info->image_height, maxImageSide);
    return false;
  }
  info->out_color_space = JCS_RGB;  // grey and colour pictures alike
  jpeg_start_decompress(info);
  out->allocate(int(info->output_width), int(info->output_height), false);
  const JDIMENSION rowBytes = info->output_width * JDIMENSION(info->output_components);
  JSAMPARRAY buffer = (*info->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(info), JPOOL_IMAGE, rowBytes, 1);
  while (info->output_scanline < info->output_height) {
    const int target = out->height - 1 - int(info->output_scanline);
    jpeg_read_scanlines(info, buffer, 1);
    std::memcpy(out->row(target), buffer[0], rowBytes);
  }
  jpeg_finish_decompress(info);
  return true;
}

}  // namespace

DecodedImage loadJpeg(FILE* file, bool verbose) {
  if (verbose) std::cout << "(jpeg)" << std::flush;
  JpegRead read{};
  std::printf("chmu1\n");
  read.decompressor.err = jpeg_std_error(&read.errors);
  std::printf("chmu2\n");
  read.errors.error_exit = onJpegError;
  read.defaultEmitMessage = read.errors.emit_message;
  read.errors.emit_message = onJpegMessage;
  read.decompressor.client_data = &read;

  DecodedImage result;
  const bool ok = decompress(&read, file, &result.pixels);
  jpeg_destroy_decompress(&read.decompressor);
  if (!ok) return DecodedImage::failed(jpegFailure, read.complaint);
  return result;
}
