#include "Font.h"

#include <algorithm>
#include <cstring>

#include "support/DrawingRoutines.h"
#include "support/FatalReport.h"
#include "support/Image.h"

namespace {
const int firstGlyphChar = 33;  // "!"
const int lastGlyphChar = 126;  // "~"
}  // namespace

Font::Font(const std::string& filename) {
  image = new Image(filename, false);
  CHECK(image->getIsAlpha());
  std::fill(glyphStart, glyphStart + 256, -1);
  std::fill(glyphWidth, glyphWidth + 256, -1);
  findGlyphs();
  image->freeData();
}

Font::~Font() { delete image; }

bool Font::columnIsEmpty(int x) const {
  const size_t rowBytes = size_t(image->width) * 4;
  const unsigned char* alpha = image->data.get() + size_t(x) * 4 + 3;
  for (int y = 0; y < image->height; ++y, alpha += rowBytes)
    if (*alpha != 0) return false;
  return true;
}

// Each glyph is a run of columns holding ink, from a to b; its rectangle
// reaches from one column before the ink to three after it (start a - 1,
// width b - a + 5). The picture's right edge ends a run like an empty column,
// and characters left when the picture runs out of ink get no glyph.
void Font::findGlyphs() {
  int x = 0;
  for (int c = firstGlyphChar; c <= lastGlyphChar; ++c) {
    while (x < image->width && columnIsEmpty(x)) ++x;
    if (x == image->width) return;
    const int first = x;
    while (x < image->width && !columnIsEmpty(x)) ++x;
    const int last = x - 1;
    glyphStart[c] = first - 1;
    glyphWidth[c] = last - first + 5;
  }
}

Int2 Font::drawText(const Float2& scale, const char* text, int x, int y) const {
  CHECK(text != NULL);
  const int lineHeight = int(float(image->height) * scale.y());
  Int2 pen(x, y);
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != '\0'; ++p) {
    const unsigned char c = *p;
    if (c == '\n') {
      pen = Int2(x, pen.y() + lineHeight);
      continue;
    }
    if (c != ' ' && !hasGlyph(c)) continue;
    int advance = spaceWidth;
    if (c != ' ') {
      drawGlyph(c, pen, scale);
      advance = glyphWidth[c];
    }
    pen[0] += int(float(advance) * scale.x());
  }
  return pen;
}

void Font::drawGlyph(unsigned char c, const Int2& topLeft, const Float2& scale) const {
  const float texWidth = float(image->width);
  drawTexturedRect(image->textureId, topLeft.x(), topLeft.y(), float(glyphStart[c]) / texWidth, 0.f,
                   float(glyphStart[c] + glyphWidth[c]) / texWidth, 1.f, int(float(glyphWidth[c]) * scale.x()),
                   int(float(image->height) * scale.y()));
}

int Font::getTextWidth(const char* text, int length, float scale) const {
  CHECK(text != NULL);
  if (length == -1) length = int(std::strlen(text));
  int widest = 0, line = 0;
  // Stops at the terminating zero even when `length` says more.
  for (int i = 0; i < length && text[i] != '\0'; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '\n') {
      widest = std::max(widest, line);
      line = 0;
    } else if (c == ' ') {
      line += int(float(spaceWidth) * scale);
    } else if (hasGlyph(c)) {
      line += int(float(glyphWidth[c]) * scale);
    }
  }
  return std::max(widest, line);
}

bool Font::hasChar(unsigned char c) const { return c == ' ' || c == '\n' || hasGlyph(c); }

int Font::getHeight() const { return image->height; }
