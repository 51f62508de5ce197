#pragma once
// A second, independent PNG reader for checking the engine's decoder against
// real files: chunks walked by hand, zlib for the inflation, the filters,
// Adam7 interlacing, bit depths, palettes and tRNS done here. Slow and
// strict; for tests only.

#include <string>
#include <vector>

struct ReferencePicture {
  int width = 0;
  int height = 0;
  bool hasAlpha = false;           // an alpha channel or a tRNS chunk
  std::vector<unsigned char> rgba; // 4 bytes per pixel, top row first; alpha 255 where there is none
  std::string problem;             // empty when the file was read
};

// Reads a whole PNG file's bytes. Samples become 8 bits the way the engine
// promises: 16-bit samples keep their high byte, 1, 2 and 4-bit grey levels
// are scaled to 0..255.
ReferencePicture readReferencePng(const std::string& bytes);
